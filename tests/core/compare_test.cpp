// Comparing in the window: marks in both trees that follow every change, the status line, and
// F8 through the differences.
#include "dump_builder.h"

#include "session.h"

#include <gtest/gtest.h>

namespace korvel::ui {
namespace {

using korvel::testing::Concat;
using korvel::testing::PatternMessageAt;

class Comparing : public testing::Session {
  protected:
    void SetUp() override {
        Session::SetUp();
        // Left: slots 0 and 1 (B01 T01 P01-P02). Right: slot 0 the same, slot 2 its own.
        Open(0, Dump("left.syx", Concat({PatternMessageAt(0, 24, 1), PatternMessageAt(1, 24, 2)})));
        Open(1,
             Dump("right.syx", Concat({PatternMessageAt(0, 24, 1), PatternMessageAt(2, 24, 3)})));
    }
    const TreeNode& Pattern(int pane, int p) const {
        return *FindNode(dialog.tree(pane), {0, 1, p});
    }
};

TEST_F(Comparing, MarksBothTreesAndFollowsEveryChange) {
    dialog.Compare().OnCompare(true);
    EXPECT_TRUE(host.comparing);
    EXPECT_EQ(Pattern(0, 0).compared, "same");
    EXPECT_EQ(Pattern(0, 1).mark, Mark::onlyHere);
    EXPECT_EQ(Pattern(1, 1).compared, "only there");
    EXPECT_EQ(dialog.tree(0)[0].mark, Mark::differs);
    EXPECT_EQ(host.statusLines.back(),
              "Compared: 0 slots differ, 1 only on the left, 1 only on the right; the type-3 "
              "messages are the same.");

    // A copy into the right pane changes the marks of both trees at once.
    Select(0, MakeItemTag(kPatternKind, 0, 0, 1));
    Select(1, MakeItemTag(kPatternKind, 0, 0, 1));
    dialog.Edits().OnTransfer(0, 1);
    EXPECT_EQ(Pattern(0, 1).mark, Mark::same);
    EXPECT_EQ(Pattern(1, 1).mark, Mark::same);
    dialog.Run(CommandId::undo, 1);
    EXPECT_EQ(Pattern(0, 1).mark, Mark::onlyHere);
    EXPECT_NE(host.statusLines.back().find("Undid copy of B01 T01 P02 into B01 T01 P02 \u00B7 "
                                           "Compared: "),
              std::string::npos);

    dialog.Compare().OnCompare(false);
    EXPECT_FALSE(host.comparing);
    EXPECT_EQ(Pattern(0, 1).mark, Mark::none);
    EXPECT_EQ(Pattern(0, 1).compared, "");
}

TEST_F(Comparing, NextDifferenceWrapsAndSaysWhenThereIsNone) {
    Select(0, MakeItemTag(kPatternKind, 0, 0, 0));
    dialog.Compare().OnNextDifference(0, true);
    EXPECT_EQ(host.selectedPaths[0], (NodePath{0, 1, 1}));
    Select(0, MakeItemTag(kPatternKind, 0, 0, 1));
    dialog.Compare().OnNextDifference(0, true);
    EXPECT_EQ(host.selectedPaths[0], (NodePath{0, 1, 2}));  // only on the right
    Select(0, MakeItemTag(kPatternKind, 0, 0, 2));
    dialog.Compare().OnNextDifference(0, true);
    EXPECT_EQ(host.selectedPaths[0], (NodePath{0, 1, 1}));  // round the end
    dialog.Compare().OnNextDifference(0, false);
    EXPECT_EQ(host.selectedPaths[0], (NodePath{0, 1, 1}));

    Open(1, Dump("same.syx", Concat({PatternMessageAt(0, 24, 1), PatternMessageAt(1, 24, 2)})));
    host.selectedPaths[0].reset();
    dialog.Compare().OnNextDifference(0, true);
    EXPECT_FALSE(host.selectedPaths[0]);
    EXPECT_EQ(host.statusLines.back(), "Nothing differs from the other dump.");
}

// The tree has no mark for the type-3 message or a bank's name: F8 names them when they differ.
TEST_F(Comparing, NextDifferenceNamesWhatTheTreeDoesNotMark) {
    const korvel::testing::Bytes patterns =
        Concat({PatternMessageAt(0, 24, 1), PatternMessageAt(1, 24, 2)});
    Open(0, Dump("a.syx", Concat({korvel::testing::Type3Message(10), patterns}), "01 Drums\n"));
    Open(1, Dump("b.syx", Concat({korvel::testing::Type3Message(12), patterns}),
                 "01 Drums\n02 Bass\n03 Keys\n"));
    dialog.Compare().OnNextDifference(0, true);
    EXPECT_EQ(host.statusLines.back(),
              "Nothing this tree shows differs; the type-3 messages differ; the names of banks 2 "
              "and 3 differ.");
}

// From a bank or a track node F8 goes on from that node, not from the top of the tree.
TEST_F(Comparing, NextDifferenceGoesOnFromABankOrTrackNode) {
    Open(0, Dump("a.syx", Concat({PatternMessageAt(0, 24, 1), PatternMessageAt(16, 24, 1)})));
    Open(1, Dump("b.syx", Concat({PatternMessageAt(0, 24, 2), PatternMessageAt(16, 24, 2)})));
    Select(0, MakeItemTag(kTrackKind, 0, 1));  // B01 T02, whose pattern 1 differs
    dialog.Compare().OnNextDifference(0, true);
    EXPECT_EQ(host.selectedPaths[0], (NodePath{0, 2, 0}));
    Select(0, MakeItemTag(kTrackKind, 0, 1));
    dialog.Compare().OnNextDifference(0, false);
    EXPECT_EQ(host.selectedPaths[0], (NodePath{0, 1, 0}));
    Select(0, MakeItemTag(kBankKind, 1));  // nothing after it: round to the first
    dialog.Compare().OnNextDifference(0, true);
    EXPECT_EQ(host.selectedPaths[0], (NodePath{0, 1, 0}));
}

// Under 3 banks the playlist sets of banks 4 to 12 have no node; what differs there is counted
// apart, and F8 says so instead of "Nothing differs".
TEST_F(Comparing, DifferencesTheLayoutCannotShowAreCountedApart) {
    Open(0, Dump("a.syx", korvel::testing::PlaylistMessage(5 * 8, 16, 1)));
    Open(1, Dump("b.syx", korvel::testing::PlaylistMessage(5 * 8, 16, 2)));
    for (const int pane : {0, 1}) {
        host.layoutAnswers.push_back(0);
        dialog.Run(CommandId::memLayout, pane);
    }
    dialog.Compare().OnCompare(true);
    EXPECT_EQ(host.statusLines.back(),
              "Compared: 1 slot differs, 0 only on the left, 0 only on the right; 1 in playlists "
              "of banks this layout does not show; the type-3 messages are the same.");
    dialog.Compare().OnNextDifference(0, true);
    EXPECT_FALSE(host.selectedPaths[0]);
    EXPECT_EQ(host.statusLines.back().substr(0, 62),
              "Nothing this tree shows differs; 1 slot differs in playlists o");
}

}  // namespace
}  // namespace korvel::ui

// Undo and redo through the main dialog: each kind of step, the unsaved state, the bound.
#include "dump_builder.h"
#include "image_contents.h"

#include "workbench.h"

#include "session.h"

#include <gtest/gtest.h>

namespace korvel::ui {
namespace {

using korvel::testing::Bytes;
using korvel::testing::FullDump;

// Everything about a pane that an undo must put back: the image and the tree's texts.
struct PaneState {
    korvel::testing::ImageContents image;
    std::vector<std::string> texts;
    friend bool operator==(const PaneState&, const PaneState&) = default;
};

void CollectTexts(const Forest& forest, std::vector<std::string>& texts) {
    for (const auto& node : forest) {
        texts.push_back(node.text + "#" + std::to_string(node.icon));
        CollectTexts(node.children, texts);
    }
}

PaneState StateOf(const DumpImage& image, const Forest& tree) {
    PaneState state{korvel::testing::ContentsOf(image), {}};
    CollectTexts(tree, state.texts);
    return state;
}

class Undo : public testing::Session {
  protected:
    void SetUp() override {
        Session::SetUp();
        Open(0, Dump("left.syx", FullDump(1), "01 Lead\r\n"));
        Open(1, Dump("right.syx", FullDump(2)));
    }
    PaneState Now(int pane) const { return StateOf(dialog.image(pane), dialog.tree(pane)); }
};

struct StepCase {
    const char* name;
    std::function<void(Undo&)> run;
    int pane;
    const char* undoText;
};

// Each kind of step in either pane: undo gives back the pane as it was, tree texts included,
// and redo the pane as the step left it.
TEST_F(Undo, EveryKindOfStepGoesBackAndForth) {
    const auto transfer = [](int kind, int from, int to) {
        return [kind, from, to](Undo& t) {
            t.Select(from, MakeItemTag(kind, 0, 2, 1));
            t.Select(to, MakeItemTag(kind, 3, 0, 3));
            t.dialog.Edits().OnTransfer(from, to);
        };
    };
    const auto erase = [](int kind, int pane) {
        return [kind, pane](Undo& t) {
            t.Select(pane, MakeItemTag(kind, 4, 5, 2));
            t.dialog.Run(CommandId::remove, pane);
        };
    };
    const auto rename = [](int pane) {
        return [pane](Undo& t) {
            t.Select(pane, MakeItemTag(kBankKind, 2));
            t.host.renameAnswers.push_back("Keys");
            t.dialog.Run(CommandId::rename, pane);
        };
    };
    const StepCase cases[] = {
        {"bank copy", transfer(kBankKind, 0, 1), 1, "Undo copy of Bank 01 into Bank 04"},
        {"playlist copy", transfer(kPlaylistKind, 1, 0), 0,
         "Undo copy of Playlist B01 into Playlist B04"},
        {"track copy", transfer(kTrackKind, 0, 1), 1, "Undo copy of B01 T03 into B04 T01"},
        {"pattern copy", transfer(kPatternKind, 1, 0), 0,
         "Undo copy of B01 T03 P02 into B04 T01 P04"},
        {"bank delete", erase(kBankKind, 0), 0, "Undo delete of Bank 05"},
        {"playlist delete", erase(kPlaylistKind, 1), 1, "Undo delete of Playlist B05"},
        {"track delete", erase(kTrackKind, 0), 0, "Undo delete of B05 T06"},
        {"pattern delete", erase(kPatternKind, 1), 1, "Undo delete of B05 T06 P03"},
        {"rename", rename(1), 1, "Undo rename of Bank 03"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PaneState before = Now(c.pane);
        const PaneState other = Now(1 - c.pane);
        c.run(*this);
        const PaneState after = Now(c.pane);
        ASSERT_NE(after, before);
        EXPECT_EQ(dialog.Edits().UndoText(c.pane), c.undoText);
        EXPECT_EQ(dialog.Edits().UndoText(1 - c.pane), "");
        dialog.Run(CommandId::undo, c.pane);
        EXPECT_EQ(Now(c.pane), before);
        EXPECT_EQ(host.statusLines.back(), std::string("Undid ") + (c.undoText + 5));
        EXPECT_EQ(dialog.Edits().RedoText(c.pane), std::string("Redo ") + (c.undoText + 5));
        dialog.Run(CommandId::redo, c.pane);
        EXPECT_EQ(Now(c.pane), after);
        dialog.Run(CommandId::undo, c.pane);
        EXPECT_EQ(Now(1 - c.pane), other);
        EXPECT_FALSE(dialog.IsChanged(c.pane));
    }
}

TEST_F(Undo, StoppedCopyIsOneStep) {
    Bytes gap = FullDump(1);
    gap.resize(gap.size() - 40);
    Open(0, Dump("gap.syx", gap));
    const PaneState before = Now(1);
    Select(0, MakeItemTag(kBankKind, 11));
    Select(1, MakeItemTag(kBankKind, 0));
    dialog.Edits().OnTransfer(0, 1);
    ASSERT_NE(host.statusLines.back().find("The copy stopped"), std::string::npos);
    ASSERT_NE(Now(1), before);
    dialog.Run(CommandId::undo, 1);
    EXPECT_EQ(Now(1), before);
    EXPECT_EQ(dialog.Edits().UndoText(1), "");
}

// The unsaved state follows the history: back at the saved step the pane is unchanged.
TEST_F(Undo, UnsavedStateComesFromTheHistory) {
    Select(1, MakeItemTag(kTrackKind, 0, 0));
    dialog.Run(CommandId::remove, 1);
    host.saveAnswers.push_back(dir.File("saved.syx"));
    dialog.Run(CommandId::save, 1);
    EXPECT_FALSE(dialog.IsChanged(1));
    Select(1, MakeItemTag(kTrackKind, 0, 1));
    dialog.Run(CommandId::remove, 1);
    EXPECT_TRUE(dialog.IsChanged(1));
    dialog.Run(CommandId::undo, 1);
    EXPECT_FALSE(dialog.IsChanged(1));
    dialog.Run(CommandId::undo, 1);
    EXPECT_TRUE(dialog.IsChanged(1));
    dialog.Run(CommandId::redo, 1);
    EXPECT_FALSE(dialog.IsChanged(1));
    dialog.Run(CommandId::redo, 1);
    EXPECT_TRUE(dialog.IsChanged(1));
    dialog.Run(CommandId::undo, 1);
    EXPECT_TRUE(dialog.MayEnd());  // no question asked
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(Undo, OpenAndNewClearTheHistory) {
    for (const bool viaNew : {false, true}) {
        Select(0, MakeItemTag(kBankKind, 0));
        dialog.Run(CommandId::remove, 0);
        ASSERT_NE(dialog.Edits().UndoText(0), "");
        host.yesNoAnswers.push_back(true);
        if (viaNew) {
            dialog.Run(CommandId::newDump, 0);
        } else {
            Open(0, dir.File("left.syx"));
        }
        EXPECT_EQ(dialog.Edits().UndoText(0), "");
        EXPECT_FALSE(dialog.IsChanged(0));
    }
}

}  // namespace
}  // namespace korvel::ui

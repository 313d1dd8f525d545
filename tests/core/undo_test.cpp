// Undo and redo through the main dialog: each kind of step, the unsaved state, the bound.
#include "dump_builder.h"
#include "edits.h"

#include "history.h"
#include "main_dialog.h"

#include "session.h"

#include <gtest/gtest.h>

#include <random>

namespace korvel::ui {
namespace {

using korvel::testing::Bytes;
using korvel::testing::FullDump;

// Everything about a pane that an undo must put back: the saved bytes, every name, the tree.
struct PaneState {
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> names;
    std::vector<std::string> texts;
    friend bool operator==(const PaneState&, const PaneState&) = default;
};

void CollectTexts(const Forest& forest, std::vector<std::string>& texts) {
    for (const auto& node : forest) {
        texts.push_back(node.text + "#" + std::to_string(node.icon));
        CollectTexts(node.children, texts);
    }
}

PaneState StateOf(const DumpImage& image, const Forest* tree = nullptr) {
    PaneState state{image.WriteToBytes(), {}, {}};
    for (const auto& slot : image.patterns) {
        state.names.push_back(slot.name);
    }
    for (const auto& slot : image.playlists) {
        state.names.push_back(slot.name);
    }
    state.names.insert(state.names.end(), image.TrackNames().begin(), image.TrackNames().end());
    state.names.insert(state.names.end(), image.PlaylistNames().begin(), image.PlaylistNames().end());
    state.names.insert(state.names.end(), image.BankNames().begin(), image.BankNames().end());
    if (tree != nullptr) {
        CollectTexts(*tree, state.texts);
    }
    return state;
}

class Undo : public testing::Session {
  protected:
    void SetUp() override {
        Session::SetUp();
        Open(0, Dump("left.syx", FullDump(1), "01 Lead\r\n"));
        Open(1, Dump("right.syx", FullDump(2)));
    }
    PaneState Now(int pane) const { return StateOf(dialog.image(pane), &dialog.tree(pane)); }
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
            t.dialog.OnTransfer(from, to);
        };
    };
    const auto erase = [](int kind, int pane) {
        return [kind, pane](Undo& t) {
            t.Select(pane, MakeItemTag(kind, 4, 5, 2));
            t.dialog.OnDelete(pane);
        };
    };
    const auto rename = [](int pane) {
        return [pane](Undo& t) {
            t.Select(pane, MakeItemTag(kBankKind, 2));
            t.host.renameAnswers.push_back("Keys");
            t.dialog.OnRename(pane);
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
        EXPECT_EQ(dialog.UndoText(c.pane), c.undoText);
        EXPECT_EQ(dialog.UndoText(1 - c.pane), "");
        dialog.OnUndo(c.pane);
        EXPECT_EQ(Now(c.pane), before);
        EXPECT_EQ(host.statusLines.back(), std::string("Undid ") + (c.undoText + 5));
        EXPECT_EQ(dialog.RedoText(c.pane), std::string("Redo ") + (c.undoText + 5));
        dialog.OnRedo(c.pane);
        EXPECT_EQ(Now(c.pane), after);
        dialog.OnUndo(c.pane);
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
    dialog.OnTransfer(0, 1);
    ASSERT_NE(host.statusLines.back().find("The copy stopped"), std::string::npos);
    ASSERT_NE(Now(1), before);
    dialog.OnUndo(1);
    EXPECT_EQ(Now(1), before);
    EXPECT_EQ(dialog.UndoText(1), "");
}

// The unsaved state follows the history: back at the saved step the pane is unchanged.
TEST_F(Undo, UnsavedStateComesFromTheHistory) {
    Select(1, MakeItemTag(kTrackKind, 0, 0));
    dialog.OnDelete(1);
    host.saveAnswers.push_back(dir.File("saved.syx"));
    dialog.OnSave(1);
    EXPECT_FALSE(dialog.IsChanged(1));
    Select(1, MakeItemTag(kTrackKind, 0, 1));
    dialog.OnDelete(1);
    EXPECT_TRUE(dialog.IsChanged(1));
    dialog.OnUndo(1);
    EXPECT_FALSE(dialog.IsChanged(1));
    dialog.OnUndo(1);
    EXPECT_TRUE(dialog.IsChanged(1));
    dialog.OnRedo(1);
    EXPECT_FALSE(dialog.IsChanged(1));
    dialog.OnRedo(1);
    EXPECT_TRUE(dialog.IsChanged(1));
    dialog.OnUndo(1);
    EXPECT_TRUE(dialog.MayEnd());  // no question asked
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(Undo, OpenAndNewClearTheHistory) {
    for (const bool viaNew : {false, true}) {
        Select(0, MakeItemTag(kBankKind, 0));
        dialog.OnDelete(0);
        ASSERT_NE(dialog.UndoText(0), "");
        host.yesNoAnswers.push_back(true);
        if (viaNew) {
            dialog.OnNew(0);
        } else {
            Open(0, dir.File("left.syx"));
        }
        EXPECT_EQ(dialog.UndoText(0), "");
        EXPECT_FALSE(dialog.IsChanged(0));
    }
}

TEST(HistoryBound, OldestStepsGoFirst) {
    History history(3);
    DumpImage image;
    for (int i = 0; i < 5; ++i) {
        ImageChange change;
        change.before.names.push_back({{NameArea::bank, 0}, std::to_string(i)});
        change.after.names.push_back({{NameArea::bank, 0}, std::to_string(i + 1)});
        history.Push({"step " + std::to_string(i), change});
    }
    EXPECT_EQ(history.Size(), 3u);
    EXPECT_TRUE(history.IsChanged());
    while (history.Undo(image) != nullptr) {
    }
    EXPECT_EQ(image.GetBankName(0), "2");
    EXPECT_TRUE(history.IsChanged());  // the saved state went with the oldest steps
    EXPECT_EQ(History().Size(), 0u);
    History bounded;
    for (std::size_t i = 0; i < History::kDefaultLimit + 5; ++i) {
        bounded.Push({"x", {}});
    }
    EXPECT_EQ(bounded.Size(), History::kDefaultLimit);
}

// Random transfers, deletes and renames between two random dumps: undoing every step gives
// back both images byte for byte and name for name, and redoing every step the final state.
TEST(UndoProperty, RandomSessionsUndoAndRedoExactly) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        DumpImage images[2];
        for (int i = 0; i < 2; ++i) {
            Bytes dump = FullDump(static_cast<int>(seed) * 2 + i);
            // Holes make copies stop part way.
            dump.resize(dump.size() - random() % (dump.size() / 3));
            ASSERT_TRUE(images[i].Load(dump).ok());
            images[i].SetLayoutChoice(static_cast<int>(random() % 3));
        }
        History histories[2];
        const PaneState start[2] = {StateOf(images[0]), StateOf(images[1])};
        std::vector<int> order;
        for (int step = 0; step < 60; ++step) {
            const int pane = static_cast<int>(random() % 2);
            const auto kind = static_cast<ItemKind>(1 + random() % 4);
            const auto pick = [&random, kind](const DumpImage& image) {
                return Item{kind, static_cast<int>(random() % image.BankCount()),
                            static_cast<int>(random() % 8),
                            static_cast<int>(random() % image.PatternsPerTrack())};
            };
            EditResult result;
            switch (random() % 3) {
                case 0:
                    result = TransferItem(images[pane], images[1 - pane], pick(images[1 - pane]),
                                          pick(images[pane]));
                    break;
                case 1:
                    result = DeleteItem(images[pane], pick(images[pane]));
                    break;
                default:
                    result = RenameBank(images[pane], pick(images[pane]).bank,
                                        std::string(random() % 3, 'n'));
                    break;
            }
            if (!result.change.IsEmpty()) {
                histories[pane].Push({"step", std::move(result.change)});
                order.push_back(pane);
            }
        }
        const PaneState end[2] = {StateOf(images[0]), StateOf(images[1])};
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            ASSERT_NE(histories[*it].Undo(images[*it]), nullptr);
        }
        EXPECT_EQ(StateOf(images[0]), start[0]) << "seed " << seed;
        EXPECT_EQ(StateOf(images[1]), start[1]) << "seed " << seed;
        for (const int pane : order) {
            ASSERT_NE(histories[pane].Redo(images[pane]), nullptr);
        }
        EXPECT_EQ(StateOf(images[0]), end[0]) << "seed " << seed;
        EXPECT_EQ(StateOf(images[1]), end[1]) << "seed " << seed;
    }
}

}  // namespace
}  // namespace korvel::ui

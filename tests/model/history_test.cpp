// The undo history: its bound, and exact undo and redo of every kind of edit.
#include "dump_builder.h"
#include "edits.h"
#include "history.h"
#include "image_contents.h"

#include <gtest/gtest.h>

#include <random>

namespace korvel {
namespace {

using testing::Bytes;
using testing::ContentsOf;
using testing::FullDump;
using testing::ImageContents;

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
        const ImageContents start[2] = {ContentsOf(images[0]), ContentsOf(images[1])};
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
        const ImageContents end[2] = {ContentsOf(images[0]), ContentsOf(images[1])};
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            ASSERT_NE(histories[*it].Undo(images[*it]), nullptr);
        }
        EXPECT_EQ(ContentsOf(images[0]), start[0]) << "seed " << seed;
        EXPECT_EQ(ContentsOf(images[1]), start[1]) << "seed " << seed;
        for (const int pane : order) {
            ASSERT_NE(histories[pane].Redo(images[pane]), nullptr);
        }
        EXPECT_EQ(ContentsOf(images[0]), end[0]) << "seed " << seed;
        EXPECT_EQ(ContentsOf(images[1]), end[1]) << "seed " << seed;
    }
}

}  // namespace
}  // namespace korvel

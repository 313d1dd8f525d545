// What the undo history costs: the bytes it holds after 200 single-pattern copies against the
// bytes of the image's messages, and an undo of a bank copy against a Refresh of the same tree.
#include "dump_builder.h"
#include "dump_image.h"
#include "edits.h"

#include "dump_tree.h"
#include "history.h"

#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using korvel::DumpImage;
using korvel::Item;

const DumpImage& FullImage() {
    static DumpImage image;
    static const bool loaded = image.Load(korvel::testing::FullDump(1, 200, 100)).ok();
    (void)loaded;
    return image;
}

// The history after 200 single-pattern copies from one full image into another.
void ReportHistoryMemory() {
    DumpImage destination;
    (void)destination.Load(korvel::testing::FullDump(2, 200, 100));
    korvel::History history;
    for (int i = 0; i < 200; ++i) {
        const Item from = Item::Pattern(i % 12, (i / 12) % 8, i % 4);
        const Item to = Item::Pattern((i + 5) % 12, (i / 7) % 8, (i / 3) % 4);
        korvel::EditResult copied = korvel::TransferItem(destination, FullImage(), from, to);
        history.Push({"copy", std::move(copied.change)});
    }
    const std::size_t imageBytes = destination.WriteToBytes().size();
    // Each step holds the message it replaced and the one it put in.
    const std::size_t changedBytes = 200 * 2 * FullImage().PatternSlot(0).Length();
    std::printf(
        "history after 200 pattern copies: %zu bytes held; image messages %zu bytes "
        "(ratio %.3f); messages the steps changed %zu bytes (ratio %.3f)\n",
        history.HeldBytes(), imageBytes,
        static_cast<double>(history.HeldBytes()) / static_cast<double>(imageBytes), changedBytes,
        static_cast<double>(history.HeldBytes()) / static_cast<double>(changedBytes));
}

// Each iteration takes back or does again one bank copy, and brings the tree up to date as the
// window does after an undo.
void BM_UndoBankCopy(benchmark::State& state) {
    DumpImage image;
    korvel::ui::Forest forest = korvel::ui::Rebuild(image);
    korvel::History history;
    korvel::EditResult copied =
        korvel::TransferItem(image, FullImage(), Item::Bank(4), Item::Bank(7));
    history.Push({"copy", std::move(copied.change)});
    (void)korvel::ui::Refresh(image, forest);
    bool undo = true;
    for (auto _ : state) {
        (void)(undo ? history.Undo(image) : history.Redo(image));
        undo = !undo;
        benchmark::DoNotOptimize(
            korvel::ui::Refresh(image, forest, korvel::ui::TextRule::restoreDefaults));
    }
}

void BM_RefreshSameTree(benchmark::State& state) {
    DumpImage image;
    (void)image.CopyBank(FullImage(), 4, 7);
    korvel::ui::Forest forest = korvel::ui::Rebuild(image);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::ui::Refresh(image, forest));
    }
}

BENCHMARK(BM_UndoBankCopy);
BENCHMARK(BM_RefreshSameTree);

}  // namespace

int main(int argc, char** argv) {
    ReportHistoryMemory();
    return korvel::bench::RunWithRatios(argc, argv, {{"BM_UndoBankCopy", "BM_RefreshSameTree", 3}});
}

// Comparing two full dumps against a plain byte comparison of the same messages, and bringing
// the marks into a full tree against a Refresh of that tree; both measured in this run.
#include "comparison.h"
#include "dump_builder.h"
#include "dump_image.h"
#include "outline.h"
#include "sysex_message.h"

#include "dump_tree.h"

#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using korvel::DumpImage;
using korvel::testing::Bytes;

std::unique_ptr<DumpImage> Loaded(const Bytes& bytes) {
    auto image = std::make_unique<DumpImage>();
    (void)image->Load(bytes);
    return image;
}

// A W2-sized dump (481 messages, about 100 KB) whose messages all differ in content, as a
// musician's do; `variant` makes another dump of the same shape.
Bytes WholeDump(int variant) {
    std::vector<Bytes> parts{korvel::testing::Type3Message()};
    const auto unique = [variant](Bytes message, int index, int indexBytes) {
        const std::size_t data = korvel::kHeaderLength + 1 + static_cast<std::size_t>(indexBytes);
        message[data] = static_cast<std::uint8_t>(index & 0x7F);
        message[data + 1] = static_cast<std::uint8_t>(index >> 7);
        message[data + 2] = static_cast<std::uint8_t>(variant & 0x7F);
        korvel::UpdateChecksum(message.data(), &message.back(), indexBytes);
        return message;
    };
    for (int i = 0; i < korvel::kPlaylistSlotCount; ++i) {
        parts.push_back(unique(korvel::testing::PlaylistMessage(i, 100, i), i, 1));
    }
    for (int i = 0; i < korvel::kPatternSlotCount; ++i) {
        parts.push_back(unique(korvel::testing::PatternMessageAt(i, 200, i), i, 2));
    }
    return korvel::testing::Concat(parts);
}

struct Pair {
    std::unique_ptr<DumpImage> left;
    std::unique_ptr<DumpImage> right;
};

// Last month's backup and what the W2 holds after a rehearsal: some patterns changed, some
// moved, some deleted.
const Pair& Edited() {
    static const Pair pair = [] {
        Pair edited{Loaded(WholeDump(1)), Loaded(WholeDump(1))};
        const auto changed = Loaded(WholeDump(2));
        for (int i = 0; i < 12; ++i) {
            (void)edited.right->CopyPattern(*changed, i, i % 8, 1, i, i % 8, 1);
        }
        for (int i = 0; i < 8; ++i) {
            (void)edited.right->CopyPattern(*edited.left, i, 0, 0, (i + 3) % 12, 5, 2);
        }
        for (int i = 0; i < 5; ++i) {
            (void)edited.right->DeletePattern(i, 7, 3);
        }
        return edited;
    }();
    return pair;
}

// Two dumps with nothing in common.
const Pair& Unrelated() {
    static const Pair pair{Loaded(WholeDump(1)), Loaded(WholeDump(2))};
    return pair;
}

void Memcmp(benchmark::State& state, const Pair& pair) {
    for (auto _ : state) {
        int differing = 0;
        for (int i = 0; i < korvel::kPatternSlotCount; ++i) {
            const auto a = pair.left->PatternSlot(i).Bytes();
            const auto b = pair.right->PatternSlot(i).Bytes();
            differing += a.size() != b.size() || std::memcmp(a.data(), b.data(), a.size()) != 0;
        }
        for (int i = 0; i < korvel::kPlaylistSlotCount; ++i) {
            const auto a = pair.left->PlaylistSlot(i).Bytes();
            const auto b = pair.right->PlaylistSlot(i).Bytes();
            differing += a.size() != b.size() || std::memcmp(a.data(), b.data(), a.size()) != 0;
        }
        benchmark::DoNotOptimize(differing);
    }
}

// A plain byte comparison of every message byte of both images: the left dump against an
// equal copy, so that no comparison stops early.
void BM_MemcmpAllBytes(benchmark::State& state) {
    static const Pair pair{Loaded(WholeDump(1)), Loaded(WholeDump(1))};
    Memcmp(state, pair);
}

void Compare(benchmark::State& state, const Pair& pair) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::Comparison::Of(*pair.left, *pair.right));
    }
}

void BM_CompareEdited(benchmark::State& state) {
    Compare(state, Edited());
}

void BM_CompareSame(benchmark::State& state) {
    static const Pair pair{Loaded(WholeDump(1)), Loaded(WholeDump(1))};
    Compare(state, pair);
}
void BM_CompareUnrelated(benchmark::State& state) {
    Compare(state, Unrelated());
}

// After a change: the comparison anew and the marks into the full right tree.
void BM_MarksIntoTree(benchmark::State& state) {
    const Pair& pair = Edited();
    const auto first = korvel::Comparison::Of(*pair.left, *pair.right);
    const korvel::ComparedSide side{first, korvel::kRightSide, pair.left->Layout()};
    korvel::ui::Forest forest = korvel::ui::Rebuild(*pair.right, &side);
    for (auto _ : state) {
        const auto comparison = korvel::Comparison::Of(*pair.left, *pair.right);
        const korvel::ComparedSide now{comparison, korvel::kRightSide, pair.left->Layout()};
        benchmark::DoNotOptimize(
            korvel::ui::Refresh(*pair.right, forest, korvel::ui::TextRule::keepShown, &now));
    }
}

// The same tree's Refresh without comparing.
void BM_Refresh(benchmark::State& state) {
    korvel::ui::Forest forest = korvel::ui::Rebuild(*Edited().right);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::ui::Refresh(*Edited().right, forest));
    }
}

BENCHMARK(BM_MemcmpAllBytes);
BENCHMARK(BM_CompareSame);
BENCHMARK(BM_CompareEdited);
BENCHMARK(BM_CompareUnrelated);
BENCHMARK(BM_Refresh);
BENCHMARK(BM_MarksIntoTree);

}  // namespace

int main(int argc, char** argv) {
    // A comparison within twenty byte comparisons of the two dumps (a few tenths of a
    // millisecond), and the marks into a tree within three Refreshes: far below what a user
    // notices after a change, with a standard hash table for the moved material.
    return korvel::bench::RunWithRatios(argc, argv,
                                        {{"BM_CompareEdited", "BM_MemcmpAllBytes", 20},
                                         {"BM_CompareUnrelated", "BM_MemcmpAllBytes", 20},
                                         {"BM_MarksIntoTree", "BM_Refresh", 3}});
}

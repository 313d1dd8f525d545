// Parsing a dump against a plain memchr pass over the same bytes.
#include "dump_builder.h"
#include "dump_image.h"

#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using korvel::testing::Bytes;

// About 1 MiB: the type-3 message, 96 playlists and 384 patterns, with messages of other
// devices between them.
const Bytes& RealisticDump() {
    static const Bytes dump = [] {
        std::vector<Bytes> parts{korvel::testing::Type3Message(2000)};
        for (int i = 0; i < 96; ++i) {
            parts.push_back(korvel::testing::PlaylistMessage(i, 400, i));
            parts.push_back(korvel::testing::ForeignMessage(600));
        }
        for (int i = 0; i < 384; ++i) {
            parts.push_back(korvel::testing::PatternMessageAt(i, 1500, i));
            parts.push_back(korvel::testing::ForeignMessage(800));
        }
        Bytes all = korvel::testing::Concat(parts);
        all.resize(1 << 20, 0x00);
        return all;
    }();
    return dump;
}

// 16 MiB of seven-bit bytes with no F0 in them, so no header anywhere.
const Bytes& NoHeaderBytes() {
    static const Bytes bytes = [] {
        Bytes all(16 << 20);
        std::uint32_t state = 1;
        for (auto& byte : all) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>((state >> 24) & 0x7F);
        }
        return all;
    }();
    return bytes;
}

// Loading a buffer the image takes over, as a file read into memory is loaded. The bytes are
// handed back after each round, so no copy is timed.
void Parse(benchmark::State& state, const Bytes& bytes) {
    auto buffer = std::make_unique<std::uint8_t[]>(bytes.size());
    std::memcpy(buffer.get(), bytes.data(), bytes.size());
    // One image serves every round: Load first forgets what the image held, so this times the
    // load itself rather than building and tearing down 481 empty slots.
    korvel::DumpImage image;
    for (auto _ : state) {
        auto result = image.Load(std::move(buffer), static_cast<std::uint32_t>(bytes.size()));
        benchmark::DoNotOptimize(result);
        buffer = image.ReleaseBytes();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// A byte value the buffer does not hold, so memchr reads all of it.
void Scan(benchmark::State& state, const Bytes& bytes) {
    for (auto _ : state) {
        const void* found = std::memchr(bytes.data(), 0xFE, bytes.size());
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_ParseDump(benchmark::State& state) {
    Parse(state, RealisticDump());
}
void BM_ScanDump(benchmark::State& state) {
    Scan(state, RealisticDump());
}
void BM_ParseNoHeader(benchmark::State& state) {
    Parse(state, NoHeaderBytes());
}
void BM_ScanNoHeader(benchmark::State& state) {
    Scan(state, NoHeaderBytes());
}

BENCHMARK(BM_ScanDump);
BENCHMARK(BM_ParseDump);
BENCHMARK(BM_ScanNoHeader);
BENCHMARK(BM_ParseNoHeader);

}  // namespace

int main(int argc, char** argv) {
    return korvel::bench::RunWithRatios(
        argc, argv,
        {{"BM_ParseDump", "BM_ScanDump", 10.0}, {"BM_ParseNoHeader", "BM_ScanNoHeader", 10.0}});
}

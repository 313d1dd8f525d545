// MIDI against the limits it works under: a send of a 481-message dump with no pause over a
// port that takes each message at once, paced by the real clock, against the cable's own time
// for those bytes; and assembling 16 MiB received in random pieces against a memchr pass.
#include "dump_builder.h"
#include "dump_image.h"

#include "send_session.h"
#include "sysex_assembler.h"

#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <thread>

namespace {

using korvel::testing::Bytes;

class NullOutput : public korvel::midi::MidiOutput {
  public:
    std::size_t MaxMessageLength() const override { return 1 << 20; }
    korvel::Outcome Send(std::span<const std::uint8_t>) override { return {}; }
};

// The send as korvel-cli drives it, on the real clock; its time against the cable limit is
// printed as a ratio, since the limit is a number and not a measured run.
void ReportSendAgainstTheCable() {
    korvel::DumpImage image;
    (void)image.Load(korvel::testing::FullDump(3));
    const auto messages = image.MessagesInSaveOrder();
    std::uint64_t bytes = 0;
    for (const auto message : messages) {
        bytes += message.size();
    }
    NullOutput output;
    korvel::midi::SteadyClock clock;
    korvel::midi::SendSession session(output, clock, messages, {});
    const auto start = clock.Now();
    while (!session.HasEnded()) {
        std::this_thread::sleep_until(session.Step());
    }
    std::this_thread::sleep_until(session.LastMessageLeaves());
    const double took = std::chrono::duration<double>(clock.Now() - start).count();
    const double limit = static_cast<double>(bytes) * 320e-6;
    std::printf(
        "send of %zu messages, %llu bytes: %.3f s; cable limit %.3f s; ratio %.4f "
        "(target <= 1.02) %s\n",
        messages.size(), static_cast<unsigned long long>(bytes), took, limit, took / limit,
        took / limit <= 1.02 ? "met" : "MISSED");
}

const Bytes& Received() {
    static const Bytes bytes = [] {
        const Bytes dump = korvel::testing::FullDump(1, 200, 100);
        Bytes stream;
        std::mt19937 random(7);
        while (stream.size() < 16 * 1024 * 1024) {
            for (const std::uint8_t byte : dump) {
                stream.push_back(byte);
                if (random() % 512 == 0) {
                    stream.push_back(0xF8);  // MIDI clock between the bytes
                }
            }
        }
        return stream;
    }();
    return bytes;
}

const std::vector<std::size_t>& Pieces() {
    static const std::vector<std::size_t> pieces = [] {
        std::vector<std::size_t> lengths;
        std::mt19937 random(11);
        for (std::size_t total = 0; total < Received().size();) {
            const std::size_t length =
                std::min<std::size_t>(1 + random() % 4096, Received().size() - total);
            lengths.push_back(length);
            total += length;
        }
        return lengths;
    }();
    return pieces;
}

void BM_Assemble16MiB(benchmark::State& state) {
    for (auto _ : state) {
        // The pieces arrive as a port delivers them, each in a buffer of its own.
        state.PauseTiming();
        std::vector<Bytes> pieces;
        pieces.reserve(Pieces().size());
        std::size_t at = 0;
        for (const std::size_t length : Pieces()) {
            pieces.emplace_back(Received().begin() + static_cast<long>(at),
                                Received().begin() + static_cast<long>(at + length));
            at += length;
        }
        korvel::midi::SysExAssembler assembler(1 << 20);
        state.ResumeTiming();
        for (auto& piece : pieces) {
            assembler.Feed(std::move(piece));
        }
        benchmark::DoNotOptimize(assembler.MessageCount());
        state.PauseTiming();
        assembler.Clear();
        pieces.clear();
        state.ResumeTiming();
    }
}

void BM_Memchr16MiB(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::memchr(Received().data(), 0xFD, Received().size()));
    }
}

BENCHMARK(BM_Assemble16MiB);
BENCHMARK(BM_Memchr16MiB);

}  // namespace

int main(int argc, char** argv) {
    ReportSendAgainstTheCable();
    // A plain loop over the bytes: the receive limit's 16 MiB, which a cable brings in about 90
    // minutes, assemble in a few hundredths of a second, well below what anyone notices.
    return korvel::bench::RunWithRatios(argc, argv, {{"BM_Assemble16MiB", "BM_Memchr16MiB", 150}});
}

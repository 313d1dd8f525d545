// korvel-cli's MIDI commands in-process, on fake ports and a fake clock: what they send, and
// what they say when the W2's memory is no backup or the port breaks.
#include "dump_builder.h"
#include "temp_dir.h"

#include "commands.h"
#include "midi_commands.h"
#include "options.h"

#include "fake_midi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace korvel::cli {
namespace {

using korvel::testing::Bytes;

class CliMidi : public ::testing::Test {
  protected:
    struct Run {
        int code;
        std::string err;
    };
    Run Korvel(const std::vector<std::string>& words) {
        const ParsedOptions parsed = ParseOptions(words);
        std::ostringstream out;
        std::ostringstream err;
        const int code = RunCommand(parsed.options, {out, err, &world});
        return {code, err.str()};
    }
    std::string Dump(const Bytes& bytes) {
        korvel::testing::WriteFile(dir.File("dump.syx"), bytes);
        return dir.File("dump.syx");
    }

    midi::testing::FakeClock clock;
    midi::testing::FakeMidiSystem system;
    MidiWorld world{system, clock,
                    [this](midi::Instant when) { clock.now = std::max(clock.now, when); }};
    korvel::testing::TempDir dir;
};

TEST_F(CliMidi, SendsTheDumpInSaveOrder) {
    auto& output = system.AddOutput("W2 in", clock);
    const Run run = Korvel({"send", Dump(korvel::testing::FullDump(5)), "--port", "W2"});
    EXPECT_EQ(run.code, kDone) << run.err;
    EXPECT_EQ(korvel::testing::Concat(output.sent), korvel::testing::FullDump(5));
}

// A keyboard's notes on the port are no backup: nothing is sent, and what came is kept.
TEST_F(CliMidi, BackupFirstThatHoldsNoDumpSendsNothing) {
    auto& output = system.AddOutput("W2 in", clock);
    system.AddInput("W2 out").pieces.push_back({0x90, 0x40, 0x7F});
    const std::string backup = dir.File("before.syx");
    const Run run = Korvel({"send", Dump(korvel::testing::FullDump(5)), "--port", "W2",
                            "--backup-first", backup, "--wait", "5"});
    EXPECT_EQ(run.code, kProblemsFound);
    EXPECT_NE(run.err.find("holds no complete message of a W2 dump"), std::string::npos) << run.err;
    EXPECT_TRUE(output.sent.empty());
    EXPECT_EQ(korvel::testing::ReadFile(backup), (Bytes{0x90, 0x40, 0x7F}));
}

// A port whose server went away ends the receive: it says so, keeps what came, and fails.
TEST_F(CliMidi, APortThatBrokeIsSaidAndWhatCameIsKept) {
    auto& input = system.AddInput("W2 out");
    const Bytes pattern = korvel::testing::PatternMessage(0, 0, 0);
    input.pieces.push_back(pattern);
    input.broken = "the JACK server went away";
    const Run run = Korvel({"receive", dir.File("in.syx"), "--port", "W2"});
    EXPECT_EQ(run.code, kFileError);
    EXPECT_NE(run.err.find("the JACK server went away"), std::string::npos) << run.err;
    EXPECT_EQ(korvel::testing::ReadFile(dir.File("in.syx")), pattern);
}

}  // namespace
}  // namespace korvel::cli

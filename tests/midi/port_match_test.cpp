#include "port_match.h"

#include <gtest/gtest.h>

namespace korvel::midi {
namespace {

struct MatchCase {
    const char* system;
    std::vector<std::string> ports;
    std::string wanted;
    std::optional<std::string> found;
};

class PortMatching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(PortMatching, FindsTheDeviceByItsName) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(MatchPort(c.ports, c.wanted).name, c.found) << c.system;
}

INSTANTIATE_TEST_SUITE_P(
    Systems, PortMatching,
    ::testing::Values(
        MatchCase{"exact beats a longer name", {"W2 MIDI 1", "W2"}, "W2", "W2"},
        MatchCase{"ALSA, plugged in again",
                  {"Midi Through 14:0", "W2:W2 MIDI 1 24:0"},
                  "W2:W2 MIDI 1 20:0",
                  "W2:W2 MIDI 1 24:0"},
        MatchCase{"ALSA, remembered without numbers",
                  {"W2:W2 MIDI 1 24:0"},
                  "W2:W2 MIDI 1",
                  "W2:W2 MIDI 1 24:0"},
        MatchCase{"JACK client prefix",
                  {"system:playback_1", "w2sim:Virtual W2"},
                  "Virtual W2",
                  "w2sim:Virtual W2"},
        MatchCase{"Windows, plugged in again",
                  {"0- Microsoft GS", "3- USB MIDI W2"},
                  "2- USB MIDI W2",
                  "3- USB MIDI W2"},
        MatchCase{"Windows through RtMidi, under another index",
                  {"Microsoft GS Wavetable Synth 0", "USB MIDI W2 2"},
                  "USB MIDI W2 1",
                  "USB MIDI W2 2"},
        MatchCase{"Windows through RtMidi, both numbers changed",
                  {"0- Microsoft GS 0", "3- USB MIDI W2 1"},
                  "2- USB MIDI W2 3",
                  "3- USB MIDI W2 1"},
        MatchCase{"two identical devices: the remembered index wins",
                  {"USB MIDI W2 1", "USB MIDI W2 2"},
                  "USB MIDI W2 2",
                  "USB MIDI W2 2"},
        MatchCase{"a device's second port is not its first",
                  {"W2:W2 MIDI 1 28:0", "W2:W2 MIDI 2 28:1"},
                  "W2:W2 MIDI 1 24:0",
                  "W2:W2 MIDI 1 28:0"},
        MatchCase{"macOS", {"IAC Driver Bus 1", "W2 Port 1"}, "W2 Port 1", "W2 Port 1"},
        MatchCase{"gone", {"IAC Driver Bus 1"}, "W2", std::nullopt},
        MatchCase{"nothing named", {"W2"}, "", std::nullopt},
        MatchCase{
            "numbers alone are no name", {"Midi Through 14:0"}, "14:0", "Midi Through 14:0"}));

TEST(PortMatching, TwoCandidatesAreAnErrorNamingBoth) {
    const PortMatch match = MatchPort({"W2 A 20:0", "W2 B 21:0"}, "W2");
    EXPECT_FALSE(match.name);
    EXPECT_EQ(match.problem, "more than one port matches W2: W2 A 20:0, W2 B 21:0");
}

TEST(PortMatching, ReadsAlsasAddressFromAListedName) {
    EXPECT_EQ(AlsaAddressOf("W2:W2 MIDI 1 24:0"), (AlsaAddress{24, 0}));
    EXPECT_EQ(AlsaAddressOf("Korvel:verify 128:12"), (AlsaAddress{128, 12}));
    for (const char* name : {"w2sim:Virtual W2", "W2 24:", "W2 :0", "Port 9999:0", "24:0"}) {
        EXPECT_FALSE(AlsaAddressOf(name)) << name;
    }
}

}  // namespace
}  // namespace korvel::midi

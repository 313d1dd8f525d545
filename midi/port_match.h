// Finding a port by the name the user gave or Korvel remembered. Systems add numbers to a
// device's name that change when it is plugged in again (ALSA's " 20:0" at the end, Windows'
// "2- " at the start, and RtMidi's port index " 3" at the end on Windows), so a name is found
// again without them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvel::midi {

struct PortMatch {
    std::optional<std::string> name;  // the port to open
    std::string problem;              // when none matched, or more than one
};

// The port of exactly that name; otherwise the one whose name is the same once the systems'
// numbers are set aside (RtMidi's index last); otherwise the one port whose name contains
// `wanted`.
PortMatch MatchPort(const std::vector<std::string>& names, const std::string& wanted);

// The name without the numbers a system adds: "Virtual W2" for "2- Virtual W2" and for
// "w2sim:Virtual W2 20:0" less its client.
std::string BarePortName(const std::string& name);

// ALSA's sequencer address at the end of a listed name: client 24, port 0 for
// "W2:W2 MIDI 1 24:0"; none for a name without it.
struct AlsaAddress {
    int client = 0;
    int port = 0;
    bool operator==(const AlsaAddress&) const = default;
};
std::optional<AlsaAddress> AlsaAddressOf(const std::string& name);

}  // namespace korvel::midi

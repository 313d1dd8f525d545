#include "port_match.h"

#include <cctype>

namespace korvel::midi {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Length of a run of digits starting at `at`.
std::size_t DigitsAt(const std::string& text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && IsDigit(text[end])) {
        ++end;
    }
    return end - at;
}

std::string WithoutWindowsPrefix(const std::string& name) {
    const std::size_t digits = DigitsAt(name, 0);
    if (digits > 0 && name.compare(digits, 2, "- ") == 0) {
        return name.substr(digits + 2);
    }
    return name;
}

// Where ALSA's " CLIENT:PORT" begins, with the numbers.
struct AlsaNumbers {
    std::size_t blank = 0;
    AlsaAddress address;
};

std::optional<AlsaNumbers> AlsaNumbersOf(const std::string& name) {
    const std::size_t blank = name.rfind(' ');
    if (blank == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t client = DigitsAt(name, blank + 1);
    const std::size_t colon = blank + 1 + client;
    if (client == 0 || client > 3 || colon >= name.size() || name[colon] != ':') {
        return std::nullopt;
    }
    const std::size_t port = DigitsAt(name, colon + 1);
    if (port == 0 || port > 3 || colon + 1 + port != name.size()) {
        return std::nullopt;
    }
    return AlsaNumbers{
        blank, {std::stoi(name.substr(blank + 1, client)), std::stoi(name.substr(colon + 1))}};
}

// RtMidi on Windows ends each name with " INDEX", the port's place in the system's list.
std::string WithoutRtMidiIndex(const std::string& name) {
    const std::size_t blank = name.rfind(' ');
    if (blank == std::string::npos || blank == 0) {
        return name;
    }
    const std::size_t digits = DigitsAt(name, blank + 1);
    return digits > 0 && blank + 1 + digits == name.size() ? name.substr(0, blank) : name;
}

// ALSA ends a port's name with " CLIENT:PORT".
std::string WithoutAlsaNumbers(const std::string& name) {
    const auto numbers = AlsaNumbersOf(name);
    return numbers ? name.substr(0, numbers->blank) : name;
}

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

// The one name of `found`, or the problem of none or several.
PortMatch OneOf(const std::vector<std::string>& found, const std::string& wanted) {
    if (found.size() == 1) {
        return {found.front(), {}};
    }
    return {std::nullopt, "more than one port matches " + wanted + ": " + Listed(found)};
}

}  // namespace

std::optional<AlsaAddress> AlsaAddressOf(const std::string& name) {
    const auto numbers = AlsaNumbersOf(name);
    return numbers ? std::optional(numbers->address) : std::nullopt;
}

std::string BarePortName(const std::string& name) {
    return WithoutAlsaNumbers(WithoutWindowsPrefix(name));
}

PortMatch MatchPort(const std::vector<std::string>& names, const std::string& wanted) {
    if (wanted.empty()) {
        return {std::nullopt, "no port is named"};
    }
    for (const auto& name : names) {
        if (name == wanted) {
            return {name, {}};
        }
    }
    const std::string bare = BarePortName(wanted);
    // Without the index only when nothing matched with it: "MIDI 1" and "MIDI 2" of one
    // device on ALSA or JACK are two ports, not one port under two indexes.
    const std::string unindexed = WithoutRtMidiIndex(bare);
    std::vector<std::string> same;
    std::vector<std::string> sameUnindexed;
    std::vector<std::string> containing;
    for (const auto& name : names) {
        const std::string bareName = BarePortName(name);
        if (bareName == bare) {
            same.push_back(name);
        }
        if (WithoutRtMidiIndex(bareName) == unindexed) {
            sameUnindexed.push_back(name);
        }
        if (name.find(wanted) != std::string::npos) {
            containing.push_back(name);
        }
    }
    if (!same.empty()) {
        return OneOf(same, wanted);
    }
    if (!sameUnindexed.empty()) {
        return OneOf(sameUnindexed, wanted);
    }
    if (!containing.empty()) {
        return OneOf(containing, wanted);
    }
    return {std::nullopt, "no port matches " + wanted};
}

}  // namespace korvel::midi

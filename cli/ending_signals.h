// The signals that end korvel-cli: a save cleans up before the program ends, a MIDI command
// stops at its next safe point.
#pragma once

#include <array>
#include <csignal>

namespace korvel::cli {

#if defined(SIGHUP)
inline constexpr std::array<int, 3> kEndingSignals = {SIGINT, SIGTERM, SIGHUP};
#else
inline constexpr std::array<int, 2> kEndingSignals = {SIGINT, SIGTERM};
#endif

}  // namespace korvel::cli

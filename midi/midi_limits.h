// The MIDI layer's limits and defaults, each with its reason; the settings, the sessions,
// korvel-cli's options and the MIDI Setup dialog all take them from here.
#pragma once

#include <chrono>
#include <cstddef>

namespace korvel::midi {

// 31,250 baud, ten bits a byte.
inline constexpr auto kCableTimePerByte = std::chrono::microseconds(320);

// The pause after each message of a send: the W2 needs a moment to store a pattern.
inline constexpr int kDefaultMessagePauseMs = 60;
inline constexpr int kMinMessagePauseMs = 0;
inline constexpr int kMaxMessagePauseMs = 5000;

// A receive ends after this long with no byte; a W2 dump never pauses for more than a moment.
inline constexpr int kDefaultReceiveIdleMs = 2000;
// Below 100 ms a busy USB interface's gaps would end a receive; ten minutes is longer than any
// musician waits.
inline constexpr int kMinReceiveIdleMs = 100;
inline constexpr int kMaxReceiveIdleMs = 600000;

// A W2 dump is about 100 KB; anything far past it is a runaway sender.
inline constexpr std::size_t kReceiveLimit = 16 * 1024 * 1024;

// How long nothing may arrive before the user is told what to check.
inline constexpr auto kReceiveHintAfter = std::chrono::seconds(10);

constexpr bool IsMessagePauseValid(int ms) {
    return ms >= kMinMessagePauseMs && ms <= kMaxMessagePauseMs;
}
constexpr bool IsReceiveIdleValid(int ms) {
    return ms >= kMinReceiveIdleMs && ms <= kMaxReceiveIdleMs;
}

}  // namespace korvel::midi

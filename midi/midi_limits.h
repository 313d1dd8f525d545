// The MIDI layer's limits, defaults and intervals, each with its reason; the settings, the
// sessions, the backends, korvel-cli's options and the MIDI dialogs all take them from here.
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
inline constexpr std::size_t kReceiveLimitMiB = 16;
inline constexpr std::size_t kReceiveLimit = kReceiveLimitMiB * 1024 * 1024;

// How long nothing may arrive before the user is told what to check.
inline constexpr auto kReceiveHintAfter = std::chrono::seconds(10);

// How often the receive and send dialogs poll: often enough that the counts look live and
// Cancel answers at once.
inline constexpr auto kDialogPoll = std::chrono::milliseconds(25);
// How often korvel-cli polls a receive and looks for Ctrl-C during a send.
inline constexpr auto kCommandPoll = std::chrono::milliseconds(10);
// After a send's last message has had its cable time, how often to look whether the port has
// handed everything on, and how long it may take: a JACK cycle of 8192 frames at 44.1 kHz is
// under 0.2 s, so a port still holding messages after 5 s no longer moves.
inline constexpr auto kDeliveryPoll = std::chrono::milliseconds(5);
inline constexpr auto kDeliveryWait = std::chrono::seconds(5);
// How long the ALSA reading thread waits for events before it looks whether it should stop.
inline constexpr int kAlsaPollMs = 50;

// Backend buffers. RtMidi's input buffers on Windows: the driver fills one a message (or a
// buffer's length of a longer one) and drops what comes while none is queued, so there are
// enough to cover the time until each is handed back; the pieces of a longer message are
// joined above. Under Wine with 4 buffers, a dump at cable pace lost whole messages.
inline constexpr unsigned kRtMidiInputBufferBytes = 4096;
inline constexpr unsigned kRtMidiInputBufferCount = 128;
// The ALSA sequencer input: its buffer and its pool of events.
inline constexpr std::size_t kAlsaInputBufferBytes = 65536;
inline constexpr std::size_t kAlsaInputPoolEvents = 2000;
// Measured with RtMidi 5.0, whose limit the window and korvel-cli already name: on JACK a
// message of 16,379 bytes arrives and one of 16,380 is dropped.
inline constexpr std::size_t kJackMaxMessage = 16379;
// Room for many messages queued between two JACK cycles; a send hands over one at a time.
inline constexpr std::size_t kJackOutputRingBytes = 1024 * 1024;

constexpr bool IsMessagePauseValid(int ms) {
    return ms >= kMinMessagePauseMs && ms <= kMaxMessagePauseMs;
}
constexpr bool IsReceiveIdleValid(int ms) {
    return ms >= kMinReceiveIdleMs && ms <= kMaxReceiveIdleMs;
}

}  // namespace korvel::midi

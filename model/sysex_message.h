// Byte layout of one W2 SysEx message: header test, checksum rule and re-addressing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace korvel {

inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;
inline constexpr std::size_t kHeaderLength = 7;
// F0 "QRV" 00 "W2": the manufacturer's id and the device's name.
inline constexpr std::array<std::uint8_t, kHeaderLength> kHeader = {kSysExStart, 'Q', 'R', 'V',
                                                                    0x00,        'W', '2'};

inline constexpr std::uint8_t kTypePattern = 0x01;
inline constexpr std::uint8_t kTypePlaylist = 0x02;
inline constexpr std::uint8_t kTypeThree = 0x03;

inline constexpr int kPatternIndexBytes = 2;
inline constexpr int kPlaylistIndexBytes = 1;

// Header, type byte, index bytes, checksum byte and F7: the shortest message that can carry its
// index bytes and a checksum.
inline constexpr std::size_t MinimumMessageLength(int indexBytes) {
    return kHeaderLength + 1 + static_cast<std::size_t>(indexBytes) + 2;
}

// True when the seven bytes at `at` are F0 "QRV" 00 "W2". `end` is one past the last readable
// byte; a header that would run past it is not valid.
bool IsHeaderValid(const std::uint8_t* at, const std::uint8_t* end);
// True when the fewer than seven bytes from `at` to `end` are how a header begins: a W2 message
// cut off by the end of the data.
bool IsHeaderBeginning(const std::uint8_t* at, const std::uint8_t* end);

// The message runs from `first` (its F0) to `last` (its F7), both included. Each operation
// refuses, writing nothing, when the message is too short for its index bytes and checksum.
bool UpdateChecksum(std::uint8_t* first, std::uint8_t* last, int indexBytes);
bool ReaddressPattern(std::uint8_t* first, std::uint8_t* last, int group, int track,
                      int physicalPattern);
bool ReaddressPlaylist(std::uint8_t* first, std::uint8_t* last, int bank, int playlist);

// The checksum byte a message carries: the byte before its F7.
inline int StoredChecksum(const std::uint8_t* last) {
    return last[-1];
}

// The checksum the rule gives for the message, without writing it; -1 when it is too short.
int ComputeChecksum(const std::uint8_t* first, const std::uint8_t* last, int indexBytes);

// The index bytes' ranges: byte 8 names group * 8 + track of a pattern (0-23) or bank * 8 +
// playlist of a playlist (0-95); byte 9 the physical pattern (0-15).
inline constexpr int kPatternRows = 24;
inline constexpr int kPatternColumns = 16;
inline constexpr int kPlaylistPositions = 96;

enum class MessageKind { foreign, unusedType, tooShort, outOfRange, pattern, playlist, typeThree };

struct MessageClass {
    MessageKind kind = MessageKind::foreign;
    int slot = -1;  // a pattern's slot (byte 8 * 16 + byte 9) or a playlist's (byte 8)
};

// What a complete message from its F0 to its F7 (both included) is, and where it belongs.
MessageClass ClassifyMessage(const std::uint8_t* first, const std::uint8_t* last);

// False for a pattern or playlist message whose checksum byte differs from the rule's.
bool HasValidChecksum(const std::uint8_t* first, const std::uint8_t* last);

}  // namespace korvel

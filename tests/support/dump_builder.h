// Builds W2 messages and dumps for tests, with valid checksums unless told otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvel::testing {

using Bytes = std::vector<std::uint8_t>;

// A pattern message for memory position (group, track, physical) with `dataLength` data-region
// bytes derived from `seed`, so that different messages have different contents.
Bytes PatternMessage(int group, int track, int physical, int dataLength = 24, int seed = 0);
// Same, addressed by slot index (group * 128 + track * 16 + physical).
Bytes PatternMessageAt(int slot, int dataLength = 24, int seed = 0);
Bytes PlaylistMessage(int index, int dataLength = 16, int seed = 0);
Bytes Type3Message(int dataLength = 10);
// A message of another device (a different maker code).
Bytes ForeignMessage(int dataLength = 12);
Bytes MessageOfType(std::uint8_t type, int dataLength = 8);

Bytes Concat(const std::vector<Bytes>& parts);

// The position a message carries: byte 8 * 16 + byte 9 for a pattern, byte 8 for a playlist.
int PatternPosition(const Bytes& message);

// A full dump: type-3 message, all 96 playlists and all 384 patterns, in canonical order. With
// 200 data bytes a pattern and 100 a playlist it is about as large as the W2's own.
Bytes FullDump(int seed = 0, int patternLength = 24, int playlistLength = 16);

void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);
std::string ReadText(const std::string& path);

}  // namespace korvel::testing

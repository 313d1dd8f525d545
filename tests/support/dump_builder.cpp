#include "dump_builder.h"

#include "paths.h"
#include "sysex_message.h"

#include <fstream>
#include <iterator>

namespace korvel::testing {

namespace {

Bytes Header(std::uint8_t type) {
    return {0xF0, 'Q', 'R', 'V', 0x00, 'W', '2', type};
}

void AppendData(Bytes& message, int dataLength, int seed) {
    for (int i = 0; i < dataLength; ++i) {
        message.push_back(static_cast<std::uint8_t>((i * 7 + seed * 13 + 1) & 0x7F));
    }
}

void Finish(Bytes& message, int indexBytes) {
    message.push_back(0x00);  // checksum, filled below
    message.push_back(0xF7);
    UpdateChecksum(message.data(), &message.back(), indexBytes);
}

}  // namespace

Bytes PatternMessage(int group, int track, int physical, int dataLength, int seed) {
    Bytes message = Header(0x01);
    message.push_back(static_cast<std::uint8_t>(group * 8 + track));
    message.push_back(static_cast<std::uint8_t>(physical));
    AppendData(message, dataLength, seed);
    Finish(message, 2);
    return message;
}

Bytes PatternMessageAt(int slot, int dataLength, int seed) {
    return PatternMessage(slot / 128, (slot / 16) % 8, slot % 16, dataLength, seed);
}

Bytes PlaylistMessage(int index, int dataLength, int seed) {
    Bytes message = Header(0x02);
    message.push_back(static_cast<std::uint8_t>(index));
    AppendData(message, dataLength, seed);
    Finish(message, 1);
    return message;
}

Bytes Type3Message(int dataLength) {
    Bytes message = Header(0x03);
    AppendData(message, dataLength, 99);
    message.push_back(0xF7);
    return message;
}

Bytes ForeignMessage(int dataLength) {
    Bytes message = {0xF0, 0x43, 0x10, 0x4C};
    AppendData(message, dataLength, 5);
    message.push_back(0xF7);
    return message;
}

Bytes MessageOfType(std::uint8_t type, int dataLength) {
    Bytes message = Header(type);
    AppendData(message, dataLength, 3);
    message.push_back(0xF7);
    return message;
}

Bytes Concat(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

int PatternPosition(const Bytes& message) {
    return message.at(8) * 16 + message.at(9);
}

Bytes FullDump(int seed, int patternLength, int playlistLength) {
    std::vector<Bytes> parts{Type3Message()};
    for (int i = 0; i < 96; ++i) {
        parts.push_back(PlaylistMessage(i, playlistLength, seed + i));
    }
    for (int i = 0; i < 384; ++i) {
        parts.push_back(PatternMessageAt(i, patternLength, seed + i));
    }
    return Concat(parts);
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(*NativePathOf(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(*NativePathOf(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path) {
    std::ifstream in(*NativePathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace korvel::testing

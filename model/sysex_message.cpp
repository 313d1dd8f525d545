#include "sysex_message.h"

#include <algorithm>

namespace korvel {

namespace {

bool LongEnough(const std::uint8_t* first, const std::uint8_t* last, int indexBytes) {
    if (first == nullptr || last == nullptr || last < first) {
        return false;
    }
    const auto length = static_cast<std::size_t>(last - first) + 1;
    return length >= MinimumMessageLength(indexBytes);
}

}  // namespace

bool IsHeaderValid(const std::uint8_t* at, const std::uint8_t* end) {
    if (at == nullptr || end == nullptr || end < at ||
        static_cast<std::size_t>(end - at) < kHeaderLength) {
        return false;
    }
    for (std::size_t i = 0; i < kHeaderLength; ++i) {
        if (at[i] != kHeader[i]) {
            return false;
        }
    }
    return true;
}

bool IsHeaderBeginning(const std::uint8_t* at, const std::uint8_t* end) {
    if (at == nullptr || end == nullptr || end < at ||
        static_cast<std::size_t>(end - at) >= kHeaderLength) {
        return false;
    }
    return std::equal(at, end, kHeader.begin());
}

int ComputeChecksum(const std::uint8_t* first, const std::uint8_t* last, int indexBytes) {
    if (!LongEnough(first, last, indexBytes)) {
        return -1;
    }
    // Packing bytes carry only the high bits of the seven bytes before them; their contribution
    // is a multiple of 0x80 and vanishes in the stored seven bits, so they are simply skipped.
    unsigned sum = first[7];
    for (int i = 0; i < indexBytes; ++i) {
        sum += first[8 + i];
    }
    // The checksum byte is the one before the F7.
    const std::uint8_t* checksumByte = last - 1;
    int k = 0;
    for (const std::uint8_t* p = first + 8 + indexBytes; p < checksumByte; ++p) {
        if (k < 7) {
            sum += *p;
            ++k;
        } else {
            k = 0;
        }
    }
    return static_cast<int>(sum & 0x7F);
}

bool UpdateChecksum(std::uint8_t* first, std::uint8_t* last, int indexBytes) {
    const int checksum = ComputeChecksum(first, last, indexBytes);
    if (checksum < 0) {
        return false;
    }
    last[-1] = static_cast<std::uint8_t>(checksum);
    return true;
}

bool ReaddressPattern(std::uint8_t* first, std::uint8_t* last, int group, int track,
                      int physicalPattern) {
    if (!LongEnough(first, last, kPatternIndexBytes)) {
        return false;
    }
    first[8] = static_cast<std::uint8_t>(group * 8 + track);
    first[9] = static_cast<std::uint8_t>(physicalPattern);
    return UpdateChecksum(first, last, kPatternIndexBytes);
}

bool ReaddressPlaylist(std::uint8_t* first, std::uint8_t* last, int bank, int playlist) {
    if (!LongEnough(first, last, kPlaylistIndexBytes)) {
        return false;
    }
    first[8] = static_cast<std::uint8_t>(bank * 8 + playlist);
    return UpdateChecksum(first, last, kPlaylistIndexBytes);
}

MessageClass ClassifyMessage(const std::uint8_t* first, const std::uint8_t* last) {
    if (last < first || !IsHeaderValid(first, last + 1) || last - first < 8) {
        return {MessageKind::foreign};
    }
    const auto length = static_cast<std::size_t>(last - first) + 1;
    switch (first[7]) {
        case kTypePattern:
            if (length < MinimumMessageLength(kPatternIndexBytes)) {
                return {MessageKind::tooShort};
            }
            if (first[8] >= kPatternRows || first[9] >= kPatternColumns) {
                return {MessageKind::outOfRange};
            }
            return {MessageKind::pattern, first[8] * kPatternColumns + first[9]};
        case kTypePlaylist:
            if (length < MinimumMessageLength(kPlaylistIndexBytes)) {
                return {MessageKind::tooShort};
            }
            if (first[8] >= kPlaylistPositions) {
                return {MessageKind::outOfRange};
            }
            return {MessageKind::playlist, first[8]};
        case kTypeThree:
            return {MessageKind::typeThree};
        default:
            return {MessageKind::unusedType};
    }
}

bool HasValidChecksum(const std::uint8_t* first, const std::uint8_t* last) {
    const MessageKind kind = ClassifyMessage(first, last).kind;
    if (kind != MessageKind::pattern && kind != MessageKind::playlist) {
        return true;
    }
    const int indexBytes = kind == MessageKind::pattern ? kPatternIndexBytes : kPlaylistIndexBytes;
    return ComputeChecksum(first, last, indexBytes) == StoredChecksum(last);
}

}  // namespace korvel

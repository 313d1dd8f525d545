#include "dump_image.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>

#include "atomic_file.h"
#include "sysex_message.h"

namespace korvel {

namespace {

constexpr const char* kShortReadMessage = "Error while reading Data";

const std::uint8_t* FindByte(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t value) {
    if (from >= to) {
        return nullptr;
    }
    return static_cast<const std::uint8_t*>(
        std::memchr(from, value, static_cast<std::size_t>(to - from)));
}

}  // namespace

LoadResult DumpImage::Load(std::span<const std::uint8_t> bytes) {
    ForgetMessages();
    LoadResult result;
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        result.status = LoadStatus::tooLarge;
        result.message = "The file is too large to be a W2 dump.";
        return result;
    }
    size = static_cast<std::uint32_t>(bytes.size());
    data = std::make_unique<std::uint8_t[]>(size);
    std::copy(bytes.begin(), bytes.end(), data.get());
    Parse(result.report);
    return result;
}

LoadResult DumpImage::Load(std::FILE* file) {
    ForgetMessages();
    LoadResult result;
    if (file == nullptr || std::fseek(file, 0, SEEK_END) != 0) {
        result.status = LoadStatus::cannotOpen;
        result.message = "The file cannot be read.";
        return result;
    }
    const long length = std::ftell(file);
    if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        result.status = LoadStatus::cannotOpen;
        result.message = "The file cannot be read.";
        return result;
    }
    if (static_cast<unsigned long long>(length) > std::numeric_limits<std::uint32_t>::max()) {
        result.status = LoadStatus::tooLarge;
        result.message = "The file is too large to be a W2 dump.";
        return result;
    }
    size = static_cast<std::uint32_t>(length);
    data = std::make_unique<std::uint8_t[]>(size);
    if (std::fread(data.get(), 1, size, file) != size) {
        // A short read holds nothing: parsing part of a file would present it as the whole.
        ForgetMessages();
        result.status = LoadStatus::shortRead;
        result.message = kShortReadMessage;
        return result;
    }
    Parse(result.report);
    return result;
}

LoadResult DumpImage::LoadFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        LoadResult result;
        result.status = LoadStatus::cannotOpen;
        result.message = "The file cannot be opened: " + std::string(std::strerror(errno));
        return result;
    }
    // The size comes from the file system, which reports sizes beyond what ftell can hold.
    std::error_code error;
    const auto length = std::filesystem::file_size(path, error);
    if (!error && length > std::numeric_limits<std::uint32_t>::max()) {
        std::fclose(file);
        LoadResult result;
        result.status = LoadStatus::tooLarge;
        result.message = "The file is too large to be a W2 dump.";
        return result;
    }
    LoadResult result = Load(file);
    std::fclose(file);
    return result;
}

void DumpImage::ForgetMessages() {
    for (auto& slot : playlists) {
        slot.Clear();
    }
    for (auto& slot : patterns) {
        slot.Clear();
    }
    type3.Clear();
    data.reset();
    size = 0;
}

void DumpImage::Hold(MessageSlot& slot, std::uint8_t* first, std::uint8_t* last,
                     LoadReport& report) {
    if (!slot.IsEmpty()) {
        report.Add(SkipReason::replaced, static_cast<std::uint32_t>(slot.begin - data.get()));
        slot.Clear();
    }
    slot.begin = first;
    slot.end = last;
}

void DumpImage::Parse(LoadReport& report) {
    std::uint8_t* const base = data.get();
    const std::uint8_t* const limit = base + size;
    const auto offsetOf = [base](const std::uint8_t* p) {
        return static_cast<std::uint32_t>(p - base);
    };

    // Only an F0 can begin a message, so the walk jumps from one F0 to the next.
    const std::uint8_t* p = FindByte(base, limit, kSysExStart);
    while (p != nullptr) {
        if (!IsHeaderValid(p, limit)) {
            if (static_cast<std::size_t>(limit - p) >= kHeaderLength) {
                report.Add(SkipReason::foreignMessage, offsetOf(p));
            } else if (std::memcmp(p, "\xF0QRV\0W2", static_cast<std::size_t>(limit - p)) == 0) {
                report.Add(SkipReason::cutOff, offsetOf(p));
            } else {
                report.Add(SkipReason::foreignMessage, offsetOf(p));
            }
            p = FindByte(p + 1, limit, kSysExStart);
            continue;
        }
        // A message ends at its F7. An F0 before that F7 means the message was cut off: it is
        // dropped and the walk goes on at that F0, so the next message is read as usual.
        const std::uint8_t* nextStart = FindByte(p + 1, limit, kSysExStart);
        const std::uint8_t* last = FindByte(p + 1, nextStart ? nextStart : limit, kSysExEnd);
        if (last == nullptr) {
            report.Add(SkipReason::cutOff, offsetOf(p));
            p = nextStart;
            continue;
        }
        const auto length = static_cast<std::size_t>(last - p) + 1;
        auto* first = base + offsetOf(p);
        auto* lastByte = base + offsetOf(last);
        switch (p[7]) {
            case kTypePattern:
                if (length < MinimumMessageLength(kPatternIndexBytes)) {
                    report.Add(SkipReason::tooShort, offsetOf(p));
                } else if (p[8] >= kPatternGroups * kTracksPerBank || p[9] >= kPhysicalPatterns) {
                    report.Add(SkipReason::outOfRange, offsetOf(p));
                } else {
                    Hold(patterns[p[8] * kPhysicalPatterns + p[9]], first, lastByte, report);
                }
                break;
            case kTypePlaylist:
                if (length < MinimumMessageLength(kPlaylistIndexBytes)) {
                    report.Add(SkipReason::tooShort, offsetOf(p));
                } else if (p[8] >= kPlaylistSlotCount) {
                    report.Add(SkipReason::outOfRange, offsetOf(p));
                } else {
                    Hold(playlists[p[8]], first, lastByte, report);
                }
                break;
            case kTypeThree:
                Hold(type3, first, lastByte, report);
                break;
            default:
                report.Add(SkipReason::unusedType, offsetOf(p));
                break;
        }
        // No F0 lies between this message's F0 and its F7, so the next one found stands.
        p = nextStart;
    }
}

WriteResult DumpImage::Write(std::FILE* file) const {
    if (file == nullptr) {
        return WriteResult::Failure("no file to write to");
    }
    const auto writeSlot = [file](const MessageSlot& slot) {
        return slot.IsEmpty() || std::fwrite(slot.begin, 1, slot.Length(), file) == slot.Length();
    };
    bool ok = writeSlot(type3);
    for (const auto& slot : playlists) {
        ok = ok && writeSlot(slot);
    }
    for (const auto& slot : patterns) {
        ok = ok && writeSlot(slot);
    }
    if (!ok || std::ferror(file) != 0) {
        return WriteResult::Failure(std::strerror(errno));
    }
    return WriteResult::Success();
}

std::vector<std::uint8_t> DumpImage::WriteToBytes() const {
    std::vector<std::uint8_t> bytes;
    const auto append = [&bytes](const MessageSlot& slot) {
        const auto span = slot.Bytes();
        bytes.insert(bytes.end(), span.begin(), span.end());
    };
    append(type3);
    for (const auto& slot : playlists) {
        append(slot);
    }
    for (const auto& slot : patterns) {
        append(slot);
    }
    return bytes;
}

WriteResult DumpImage::SaveFile(const std::string& path) const {
    return ReplaceFileAtomically(path, [this](std::FILE* file) { return Write(file); });
}

int DumpImage::PatternBase(int bank, int bankCount) {
    switch (bankCount) {
        case 6:
            return 8 * ((bank / 3) & 1);
        case 12:
            return 4 * ((bank / 3) & 3);
        default:
            return 0;
    }
}

int DumpImage::PatternSlotIndex(int bank, int track, int pattern) const {
    return (bank % 3) * kTracksPerBank * kPhysicalPatterns + track * kPhysicalPatterns +
           PatternBase(bank, layout) + pattern;
}

bool DumpImage::IsTrackValid(int bank, int track) const {
    return IsBankValid(bank) && track >= 0 && track < kTracksPerBank;
}

bool DumpImage::IsPatternValid(int bank, int track, int pattern) const {
    return IsTrackValid(bank, track) && pattern >= 0 && pattern < PatternsPerTrack();
}

bool DumpImage::IsPatternEmpty(int bank, int track, int pattern) const {
    if (!IsPatternValid(bank, track, pattern)) {
        return true;
    }
    return patterns[PatternSlotIndex(bank, track, pattern)].IsEmpty();
}

bool DumpImage::AreBankPlaylistsEmpty(int bank) const {
    if (bank < 0 || bank >= kBankCount) {
        return true;
    }
    for (int i = 0; i < kPlaylistsPerBank; ++i) {
        if (!playlists[bank * kPlaylistsPerBank + i].IsEmpty()) {
            return false;
        }
    }
    return true;
}

void DumpImage::SetLayoutChoice(int choice) {
    switch (choice) {
        case 0:
            layout = 3;
            break;
        case 1:
            layout = 6;
            break;
        case 2:
            layout = 12;
            break;
        default:
            break;
    }
}

int DumpImage::GetLayoutChoice() const {
    switch (layout) {
        case 6:
            return 1;
        case 12:
            return 2;
        default:
            return 0;
    }
}

std::string DumpImage::GetPatternName(int bank, int track, int pattern) const {
    if (!IsPatternValid(bank, track, pattern)) {
        return {};
    }
    return patterns[PatternSlotIndex(bank, track, pattern)].GetName();
}

std::string DumpImage::GetTrackName(int bank, int track) const {
    if (bank < 0 || bank >= kBankCount || track < 0 || track >= kTracksPerBank) {
        return {};
    }
    return trackNames[bank * kTracksPerBank + track];
}

std::string DumpImage::GetPlaylistName(int bank) const {
    return bank >= 0 && bank < kBankCount ? playlistNames[bank] : std::string();
}

std::string DumpImage::GetBankName(int bank) const {
    return bank >= 0 && bank < kBankCount ? bankNames[bank] : std::string();
}

}  // namespace korvel

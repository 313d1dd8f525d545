#include "dump_image.h"

#include "atomic_file.h"
#include "sysex_message.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#include <immintrin.h>
#define KORVEL_HAVE_AVX2_DISPATCH 1
#else
#define KORVEL_HAVE_AVX2_DISPATCH 0
#endif

namespace korvel {

namespace {

constexpr const char* kShortReadMessage = "Error while reading Data";
// Follows the file's name.
constexpr const char* kTooLargeMessage =
    " is 4 GiB or larger, too large to be a W2 dump; it was not opened.";
constexpr const char* kNoMemoryMessage = "There is not enough memory to open the dump.";
// Sizes are held in 32 bits; a larger file cannot be held whole.
constexpr std::uint64_t kMaxDumpSize = std::numeric_limits<std::uint32_t>::max();

LoadResult LoadFailure(LoadStatus status, std::string message) {
    LoadResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

// The first byte with its high bit set, or null. Inside a SysEx message every byte is below 80
// hex, so this finds a message's end (or whatever cut it off) in one pass over its bytes. The
// high bits come straight out of a vector's byte mask, so no comparison is needed.
const std::uint8_t* FindStatusBytePlain(const std::uint8_t* p, const std::uint8_t* end) {
#if defined(__SSE2__)
    while (end - p >= 64) {
        const auto* v = reinterpret_cast<const __m128i*>(p);
        const __m128i any =
            _mm_or_si128(_mm_or_si128(_mm_loadu_si128(v), _mm_loadu_si128(v + 1)),
                         _mm_or_si128(_mm_loadu_si128(v + 2), _mm_loadu_si128(v + 3)));
        if (_mm_movemask_epi8(any) != 0) {
            break;
        }
        p += 64;
    }
    while (end - p >= 16) {
        const int mask = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
        if (mask != 0) {
            return p + std::countr_zero(static_cast<unsigned>(mask));
        }
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        if ((*p & 0x80) != 0) {
            return p;
        }
    }
    return nullptr;
}

#if KORVEL_HAVE_AVX2_DISPATCH
// The high bits of 32 bytes, one bit per byte.
__attribute__((target("avx2"))) unsigned HighBits32(const std::uint8_t* at) {
    return static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at))));
}

__attribute__((target("avx2"))) const std::uint8_t* FindStatusByteAvx2(const std::uint8_t* p,
                                                                       const std::uint8_t* end) {
    if (end - p < 32) {
        return FindStatusBytePlain(p, end);
    }
    if (const unsigned first = HighBits32(p); first != 0) {
        return p + std::countr_zero(first);
    }
    // From here on the loads are aligned, so none of them straddles two cache lines; the few
    // bytes read twice held no status byte.
    p = reinterpret_cast<const std::uint8_t*>((reinterpret_cast<std::uintptr_t>(p) + 32) &
                                              ~std::uintptr_t{31});
    while (end - p >= 128) {
        const auto* v = reinterpret_cast<const __m256i*>(p);
        const __m256i any =
            _mm256_or_si256(_mm256_or_si256(_mm256_load_si256(v), _mm256_load_si256(v + 1)),
                            _mm256_or_si256(_mm256_load_si256(v + 2), _mm256_load_si256(v + 3)));
        if (_mm256_movemask_epi8(any) != 0) {
            break;
        }
        p += 128;
    }
    while (end - p >= 32) {
        if (const unsigned found = HighBits32(p); found != 0) {
            return p + std::countr_zero(found);
        }
        p += 32;
    }
    return FindStatusBytePlain(p, end);
}

using StatusByteFinder = const std::uint8_t* (*)(const std::uint8_t*, const std::uint8_t*);
const StatusByteFinder FindStatusByte =
    __builtin_cpu_supports("avx2") ? FindStatusByteAvx2 : FindStatusBytePlain;
#else
const std::uint8_t* FindStatusByte(const std::uint8_t* p, const std::uint8_t* end) {
    return FindStatusBytePlain(p, end);
}
#endif

// The F7 that ends the message starting at `start`, or the F0 that cut it off, or null.
const std::uint8_t* FindMessageBoundary(const std::uint8_t* start, const std::uint8_t* end) {
    const std::uint8_t* p = start + 1;
    while ((p = FindStatusByte(p, end)) != nullptr) {
        if (*p == kSysExEnd || *p == kSysExStart) {
            return p;
        }
        ++p;  // a stray status byte is carried along as part of the message
    }
    return nullptr;
}

// The next F0 at or after `from`. Messages usually follow each other directly, and another
// device's message ends in an F7, so both are tried before a plain search.
const std::uint8_t* FindNextStart(const std::uint8_t* from, const std::uint8_t* end);

const std::uint8_t* FindByte(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t value) {
    if (from >= to) {
        return nullptr;
    }
    return static_cast<const std::uint8_t*>(
        std::memchr(from, value, static_cast<std::size_t>(to - from)));
}

const std::uint8_t* FindNextStart(const std::uint8_t* from, const std::uint8_t* end) {
    if (from < end && *from == kSysExStart) {
        return from;
    }
    const std::uint8_t* status = FindStatusByte(from, end);
    if (status == nullptr || *status == kSysExStart) {
        return status;
    }
    if (status + 1 < end && status[1] == kSysExStart) {
        return status + 1;
    }
    return FindByte(status + 1, end, kSysExStart);
}

}  // namespace

LoadResult DumpImage::Load(std::span<const std::uint8_t> bytes) {
    ForgetMessages();
    if (bytes.size() > kMaxDumpSize) {
        return LoadFailure(LoadStatus::tooLarge, std::string("The file") + kTooLargeMessage);
    }
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[bytes.size() + 1]);
    if (buffer == nullptr) {
        return LoadFailure(LoadStatus::noMemory, kNoMemoryMessage);
    }
    std::copy(bytes.begin(), bytes.end(), buffer.get());
    return Load(std::move(buffer), static_cast<std::uint32_t>(bytes.size()));
}

LoadResult DumpImage::Load(std::unique_ptr<std::uint8_t[]> bytes, std::uint32_t length) {
    ForgetMessages();
    data = std::move(bytes);
    size = data != nullptr ? length : 0;
    LoadResult result;
    Parse(result.report);
    return result;
}

LoadResult DumpImage::Load(std::FILE* file) {
    ForgetMessages();
    if (file == nullptr || std::fseek(file, 0, SEEK_END) != 0) {
        return LoadFailure(LoadStatus::cannotOpen, "The file cannot be read.");
    }
    const long length = std::ftell(file);
    if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        return LoadFailure(LoadStatus::cannotOpen, "The file cannot be read.");
    }
    if (static_cast<unsigned long long>(length) > kMaxDumpSize) {
        return LoadFailure(LoadStatus::tooLarge, std::string("The file") + kTooLargeMessage);
    }
    const auto count = static_cast<std::uint32_t>(length);
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[count + 1ULL]);
    if (buffer == nullptr) {
        return LoadFailure(LoadStatus::noMemory, kNoMemoryMessage);
    }
    if (std::fread(buffer.get(), 1, count, file) != count) {
        // A short read holds nothing: parsing part of a file would present it as the whole.
        return LoadFailure(LoadStatus::shortRead, kShortReadMessage);
    }
    return Load(std::move(buffer), count);
}

LoadResult DumpImage::LoadFile(const std::string& path) {
    FileReadResult read = ReadRegularFile(path, kMaxDumpSize);
    switch (read.status) {
        case ReadStatus::ok:
            return Load(std::move(read.bytes), static_cast<std::uint32_t>(read.size));
        case ReadStatus::notRegular:
            return LoadFailure(read.status, path + " cannot be opened: " + read.reason + ".");
        case ReadStatus::tooLarge:
            return LoadFailure(read.status, path + kTooLargeMessage);
        case ReadStatus::noMemory:
            return LoadFailure(read.status, "There is not enough memory to open " + path + ".");
        case ReadStatus::shortRead:
            return LoadFailure(read.status, kShortReadMessage);
        case ReadStatus::cannotOpen:
            break;
    }
    return LoadFailure(read.status, path + " cannot be opened: " + read.reason + ".");
}

void DumpImage::ForgetMessages() {
    // Most slots are already empty; skipping them keeps loading a fresh image cheap.
    const auto forget = [](MessageSlot& slot) {
        if (!slot.IsEmpty() || !slot.name.empty()) {
            slot.Clear();
        }
    };
    for (auto& slot : playlists) {
        forget(slot);
    }
    for (auto& slot : patterns) {
        forget(slot);
    }
    forget(type3);
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
    const std::uint8_t* p = FindNextStart(base, limit);
    while (p != nullptr) {
        if (!IsHeaderValid(p, limit)) {
            if (static_cast<std::size_t>(limit - p) >= kHeaderLength) {
                report.Add(SkipReason::foreignMessage, offsetOf(p));
            } else if (std::memcmp(p, "\xF0QRV\0W2", static_cast<std::size_t>(limit - p)) == 0) {
                report.Add(SkipReason::cutOff, offsetOf(p));
            } else {
                report.Add(SkipReason::foreignMessage, offsetOf(p));
            }
            p = FindNextStart(p + 1, limit);
            continue;
        }
        // A message ends at its F7. An F0 before that F7 means the message was cut off: it is
        // dropped and the walk goes on at that F0, so the next message is read as usual.
        const std::uint8_t* last = FindMessageBoundary(p, limit);
        if (last == nullptr || *last == kSysExStart) {
            report.Add(SkipReason::cutOff, offsetOf(p));
            p = last;
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
        p = FindNextStart(last + 1, limit);
    }
}

WriteResult DumpImage::Write(std::FILE* file) const {
    if (file == nullptr) {
        return WriteResult::Failure("no file to write to");
    }
    // The reason is taken from the write that failed, before any later call can change errno.
    int error = 0;
    const auto writeSlot = [file, &error](const MessageSlot& slot) {
        if (slot.IsEmpty() || std::fwrite(slot.begin, 1, slot.Length(), file) == slot.Length()) {
            return true;
        }
        error = errno;
        return false;
    };
    bool ok = writeSlot(type3);
    for (const auto& slot : playlists) {
        ok = ok && writeSlot(slot);
    }
    for (const auto& slot : patterns) {
        ok = ok && writeSlot(slot);
    }
    if (!ok) {
        return WriteResult::Failure(error != 0 ? std::strerror(error) : "the write failed");
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
           PatternBase(bank, layout.BankCount()) + pattern;
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
    if (const auto chosen = MemoryLayout::FromChoice(choice)) {
        layout = *chosen;
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

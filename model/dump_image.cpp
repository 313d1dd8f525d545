#include "dump_image.h"

#include "error_text.h"
#include "atomic_file.h"
#include "sysex_message.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

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

// The first `value` in [from, to), or null.
const std::uint8_t* FindByte(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t value) {
    if (from >= to) {
        return nullptr;
    }
    return static_cast<const std::uint8_t*>(
        std::memchr(from, value, static_cast<std::size_t>(to - from)));
}

// The F7 that ends the message starting at `start`, or the F0 that cut it off, or null. Any
// other status byte is carried along as part of the message.
const std::uint8_t* FindMessageBoundary(const std::uint8_t* start, const std::uint8_t* end) {
    const std::uint8_t* last = FindByte(start + 1, end, kSysExEnd);
    const std::uint8_t* cut = FindByte(start + 1, last != nullptr ? last : end, kSysExStart);
    return cut != nullptr ? cut : last;
}

// The next F0 at or after `from`.
const std::uint8_t* FindNextStart(const std::uint8_t* from, const std::uint8_t* end) {
    return FindByte(from, end, kSysExStart);
}

}  // namespace

std::unique_ptr<std::uint8_t[]> DumpImage::ReleaseBytes() {
    auto bytes = std::move(bytes_);
    ForgetMessages();
    return bytes;
}

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
    bytes_ = std::move(bytes);
    size_ = bytes_ != nullptr ? length : 0;
    LoadResult result;
    Parse(result.report);
    return result;
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
    for (auto& slot : playlists_) {
        forget(slot);
    }
    for (auto& slot : patterns_) {
        forget(slot);
    }
    forget(type3_);
    bytes_.reset();
    size_ = 0;
}

void DumpImage::Hold(MessageSlot& slot, std::uint8_t* first, std::uint8_t* last,
                     LoadReport& report) {
    if (!slot.IsEmpty()) {
        report.Add(SkipReason::replaced, static_cast<std::uint32_t>(slot.begin - bytes_.get()));
        slot.Clear();
    }
    slot.begin = first;
    slot.end = last;
}

void DumpImage::Parse(LoadReport& report) {
    std::uint8_t* const base = bytes_.get();
    const std::uint8_t* const limit = base + size_;
    const auto offsetOf = [base](const std::uint8_t* p) {
        return static_cast<std::uint32_t>(p - base);
    };

    // Only an F0 can begin a message, so the walk jumps from one F0 to the next.
    const std::uint8_t* p = FindNextStart(base, limit);
    while (p != nullptr) {
        if (!IsHeaderValid(p, limit)) {
            report.Add(
                IsHeaderBeginning(p, limit) ? SkipReason::cutOff : SkipReason::foreignMessage,
                offsetOf(p));
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
        auto* first = base + offsetOf(p);
        auto* lastByte = base + offsetOf(last);
        const MessageClass message = ClassifyMessage(first, lastByte);
        switch (message.kind) {
            case MessageKind::pattern:
                Hold(patterns_[static_cast<std::size_t>(message.slot)], first, lastByte, report);
                break;
            case MessageKind::playlist:
                Hold(playlists_[static_cast<std::size_t>(message.slot)], first, lastByte, report);
                break;
            case MessageKind::typeThree:
                Hold(type3_, first, lastByte, report);
                break;
            case MessageKind::tooShort:
                report.Add(SkipReason::tooShort, offsetOf(p));
                break;
            case MessageKind::outOfRange:
                report.Add(SkipReason::outOfRange, offsetOf(p));
                break;
            case MessageKind::foreign:
            case MessageKind::unusedType:
                report.Add(SkipReason::unusedType, offsetOf(p));
                break;
        }
        p = FindNextStart(last + 1, limit);
    }
}

std::vector<std::span<const std::uint8_t>> DumpImage::MessagesInSaveOrder() const {
    std::vector<std::span<const std::uint8_t>> messages;
    messages.reserve(1 + kPlaylistSlotCount + kPatternSlotCount);
    const auto add = [&messages](const MessageSlot& slot) {
        if (!slot.IsEmpty()) {
            messages.push_back(slot.Bytes());
        }
    };
    add(type3_);
    for (const auto& slot : playlists_) {
        add(slot);
    }
    for (const auto& slot : patterns_) {
        add(slot);
    }
    return messages;
}

Outcome DumpImage::Write(std::FILE* file) const {
    if (file == nullptr) {
        return Outcome::Failure("no file to write to");
    }
    for (const auto message : MessagesInSaveOrder()) {
        if (std::fwrite(message.data(), 1, message.size(), file) != message.size()) {
            // The reason is taken from the write that failed, before a later call changes errno.
            const int error = errno;
            return Outcome::Failure(error != 0 ? ErrnoText(error) : "the write failed");
        }
    }
    return Outcome::Success();
}

std::vector<std::uint8_t> DumpImage::WriteToBytes() const {
    std::vector<std::uint8_t> bytes;
    for (const auto message : MessagesInSaveOrder()) {
        bytes.insert(bytes.end(), message.begin(), message.end());
    }
    return bytes;
}

Outcome DumpImage::SaveFile(const std::string& path) const {
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

int DumpImage::PatternSlotIn(MemoryLayout layout, int bank, int track, int pattern) {
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
    return patterns_[PatternSlotIndex(bank, track, pattern)].IsEmpty();
}

namespace {

// Whether a bank (and a track of it) has a place in the image's tables; which of them the
// layout shows is IsBankValid's question.
bool IsStored(int bank) {
    return bank >= 0 && bank < kBankCount;
}
bool IsStored(int bank, int track) {
    return IsStored(bank) && track >= 0 && track < kTracksPerBank;
}

const std::string& NoName() {
    static const std::string none;
    return none;
}

}  // namespace

bool DumpImage::AreBankPlaylistsEmpty(int bank) const {
    if (!IsStored(bank)) {
        return true;
    }
    for (int i = 0; i < kPlaylistsPerBank; ++i) {
        if (!playlists_[bank * kPlaylistsPerBank + i].IsEmpty()) {
            return false;
        }
    }
    return true;
}

void DumpImage::SetLayoutChoice(int choice) {
    if (const auto chosen = MemoryLayout::FromChoice(choice)) {
        layout_ = *chosen;
    }
}

const std::string& DumpImage::GetPatternName(int bank, int track, int pattern) const {
    if (!IsPatternValid(bank, track, pattern)) {
        return NoName();
    }
    return patterns_[static_cast<std::size_t>(PatternSlotIndex(bank, track, pattern))].name;
}

const std::string& DumpImage::GetTrackName(int bank, int track) const {
    if (!IsStored(bank, track)) {
        return NoName();
    }
    return trackNames_[static_cast<std::size_t>(bank * kTracksPerBank + track)];
}

const std::string& DumpImage::GetPlaylistName(int bank) const {
    return IsStored(bank) ? playlistNames_[static_cast<std::size_t>(bank)] : NoName();
}

const std::string& DumpImage::GetBankName(int bank) const {
    return IsStored(bank) ? bankNames_[static_cast<std::size_t>(bank)] : NoName();
}

void DumpImage::SetTrackName(int bank, int track, std::string name) {
    if (IsStored(bank, track)) {
        TrackNameAt(bank, track) = std::move(name);
    }
}

void DumpImage::SetPlaylistName(int bank, std::string name) {
    if (IsStored(bank)) {
        playlistNames_[static_cast<std::size_t>(bank)] = std::move(name);
    }
}

}  // namespace korvel

// One W2 dump in memory: the loaded bytes, a slot for every memory position, the names the tool
// gives to tracks, playlist sets and banks, and the memory layout that groups patterns into banks.
#pragma once

#include "file_read.h"
#include "image_change.h"
#include "load_report.h"
#include "memory_layout.h"
#include "message_slot.h"
#include "result.h"
#include "sysex_message.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace korvel {

namespace testing {
struct ImageSlots;
}

inline constexpr int kBankCount = 12;
inline constexpr int kTracksPerBank = 8;
inline constexpr int kPlaylistsPerBank = 8;
inline constexpr int kPatternGroups = 3;
inline constexpr int kPhysicalPatterns = 16;
inline constexpr int kPlaylistSlotCount = kBankCount * kPlaylistsPerBank;  // 96
inline constexpr int kPatternSlotCount =
    kPatternGroups * kTracksPerBank * kPhysicalPatterns;  // 384
static_assert(kPatternRows * kPatternColumns == kPatternSlotCount &&
              kPlaylistPositions == kPlaylistSlotCount);

// A load fails for the same reasons a file read does.
using LoadStatus = ReadStatus;

struct [[nodiscard]] LoadResult {
    LoadStatus status = LoadStatus::ok;
    std::string message;  // for a failure: what to tell the user
    LoadReport report;    // for a success: what was passed over
    bool ok() const { return status == LoadStatus::ok; }
};

class DumpImage {
  public:
    DumpImage() = default;
    DumpImage(const DumpImage&) = delete;  // slots point into this image's own bytes
    DumpImage& operator=(const DumpImage&) = delete;

    // The slots: a pattern's by group * 128 + track * 16 + physical, a playlist's by bank * 8 +
    // playlist. A slot points into the loaded bytes or owns a private copy of its message.
    const MessageSlot& PatternSlot(int index) const {
        return patterns_[static_cast<std::size_t>(index)];
    }
    const MessageSlot& PlaylistSlot(int index) const {
        return playlists_[static_cast<std::size_t>(index)];
    }
    const MessageSlot& Type3Slot() const { return type3_; }
    std::span<const MessageSlot> PatternSlots() const { return patterns_; }
    std::span<const MessageSlot> PlaylistSlots() const { return playlists_; }
    // The bytes of the file or buffer the image was loaded from.
    std::span<const std::uint8_t> LoadedBytes() const { return {bytes_.get(), size_}; }
    // Forgets the messages and hands back the loaded bytes, for a caller that loads them again.
    std::unique_ptr<std::uint8_t[]> ReleaseBytes();

    // Reading and writing dumps. Load expects a freshly constructed image. A failed load leaves
    // the image without messages.
    LoadResult Load(std::span<const std::uint8_t> bytes);
    // Takes over a buffer of `length` bytes without copying it.
    LoadResult Load(std::unique_ptr<std::uint8_t[]> bytes, std::uint32_t length);
    // Reads a regular file only; every failure's message names the file, except the short read,
    // whose text is the design's own.
    LoadResult LoadFile(const std::string& path);
    // Every held message in canonical order: type-3, playlists, patterns; as a save writes them
    // and a send sends them.
    std::vector<std::span<const std::uint8_t>> MessagesInSaveOrder() const;
    // Writes every held message in canonical order.
    Outcome Write(std::FILE* file) const;
    std::vector<std::uint8_t> WriteToBytes() const;
    // Replaces the file at `path` atomically, so a failure leaves the old file whole.
    Outcome SaveFile(const std::string& path) const;

    // Addressing under the memory layout.
    static int PatternBase(int bank, int bankCount);
    MemoryLayout Layout() const { return layout_; }
    int PatternsPerTrack() const { return layout_.PatternsPerTrack(); }
    int BankCount() const { return layout_.BankCount(); }
    int PatternSlotIndex(int bank, int track, int pattern) const {
        return PatternSlotIn(layout_, bank, track, pattern);
    }
    // The slot of a pattern under any layout.
    static int PatternSlotIn(MemoryLayout layout, int bank, int track, int pattern);
    bool IsBankValid(int bank) const { return bank >= 0 && bank < layout_.BankCount(); }
    bool IsTrackValid(int bank, int track) const;
    bool IsPatternValid(int bank, int track, int pattern) const;
    bool IsPatternEmpty(int bank, int track, int pattern) const;
    bool AreBankPlaylistsEmpty(int bank) const;
    // The layout changes no saved byte, only how positions are grouped into banks.
    void SetLayout(MemoryLayout newLayout) { layout_ = newLayout; }
    // Ignores anything but 0, 1 and 2.
    void SetLayoutChoice(int choice);
    int GetLayoutChoice() const { return layout_.Choice(); }

    // Empty for a position outside the layout or the twelve banks.
    const std::string& GetPatternName(int bank, int track, int pattern) const;
    const std::string& GetTrackName(int bank, int track) const;
    const std::string& GetPlaylistName(int bank) const;
    const std::string& GetBankName(int bank) const;
    // All names at once: track names by bank * 8 + track, playlist and bank names by bank.
    const std::array<std::string, kBankCount * kTracksPerBank>& TrackNames() const {
        return trackNames_;
    }
    const std::array<std::string, kBankCount>& PlaylistNames() const { return playlistNames_; }
    const std::array<std::string, kBankCount>& BankNames() const { return bankNames_; }
    // The names copied material takes; nothing for a position outside the twelve banks.
    void SetTrackName(int bank, int track, std::string name);
    void SetPlaylistName(int bank, std::string name);

    // Transfers from another image into this one: 1 when done, 0 when stopped at an empty source
    // slot or refused for positions outside either image's layout.
    int CopyPattern(const DumpImage& source, int srcBank, int srcTrack, int srcPattern, int dstBank,
                    int dstTrack, int dstPattern);
    int CopyTrack(const DumpImage& source, int srcBank, int srcTrack, int dstBank, int dstTrack);
    int CopyBank(const DumpImage& source, int srcBank, int dstBank);
    int CopyPlaylists(const DumpImage& source, int srcBank, int dstBank);

    // Deletes: 1 when done, 0 only for positions outside the layout.
    int DeletePattern(int bank, int track, int pattern);
    int DeleteTrack(int bank, int track);
    int DeleteBank(int bank);
    int DeletePlaylists(int bank);
    void SetBankName(int bank, std::string name);

    // The states of the footprint's slots and names, and putting such states back: how an edit
    // is taken back and done again. Places come from the image's own edits, so they are valid.
    ImageState Capture(const Footprint& footprint) const;
    const MessageSlot& SlotAt(SlotPlace place) const;
    void Restore(const ImageState& state);

    // The bank-name side file: 1 when it was read or written, 0 otherwise.
    int ReadBankNames(const std::string& path);
    int WriteBankNames(const std::string& path) const;
    // The same write with the reason of a failure.
    Outcome SaveBankNames(const std::string& path) const;
    // The same, a new side file taking the permission bits of `permissionsFrom` (the dump).
    Outcome SaveBankNamesLike(const std::string& path, const std::string& permissionsFrom) const;

  private:
    friend struct testing::ImageSlots;  // the tests' way to the slots themselves

    void Parse(LoadReport& report);
    MessageSlot& MutableSlotAt(SlotPlace place);
    // Names by their place in a change.
    std::string& NameAt(NamePlace place);
    const std::string& NameAt(NamePlace place) const;
    std::string& TrackNameAt(int bank, int track) {
        return trackNames_[static_cast<std::size_t>(bank * kTracksPerBank + track)];
    }

    std::unique_ptr<std::uint8_t[]> bytes_;
    std::uint32_t size_ = 0;
    std::array<MessageSlot, kPlaylistSlotCount> playlists_;
    std::array<MessageSlot, kPatternSlotCount> patterns_;
    MessageSlot type3_;
    MemoryLayout layout_;
    std::array<std::string, kBankCount * kTracksPerBank> trackNames_;
    std::array<std::string, kBankCount> playlistNames_;
    std::array<std::string, kBankCount> bankNames_;
    void Hold(MessageSlot& slot, std::uint8_t* first, std::uint8_t* last, LoadReport& report);
    void ForgetMessages();
};

}  // namespace korvel

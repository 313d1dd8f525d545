// The edits a user makes on items: transfers between images, deletes and bank renames. Each
// checks the item against the images' layouts, runs the image's own operation and reports how
// it ended and what it changed, so that no caller has to find either out again.
#pragma once

#include "dump_image.h"
#include "image_change.h"
#include "item.h"

#include <optional>
#include <string>

namespace korvel {

inline constexpr const char* kSameKindRefusal =
    "Source and destination must be of the same type:\nBank, Playlist, Track or Pattern.";
inline constexpr const char* kLayoutRefusal =
    "The memory layout (Pattern count)\nof the Source must be equal or smaller\nthan the memory "
    "layout of the destination.\nFor example a Track with 8 Patterns can be moved\nto a Track "
    "with 16 Patterns, but not vice versa.";

inline constexpr const char* kOnlyBanksRefusal = "Only Banks can be renamed!";

enum class EditStatus { done, stopped, refused };

struct [[nodiscard]] EditResult {
    EditStatus status = EditStatus::done;
    // For a stopped copy: the empty source slot it met, a pattern or a playlist (kind
    // `playlists`, its number in the set in `pattern`).
    std::optional<Item> stoppedAt;
    std::string refusal;  // for a refused edit: why; empty when there was nothing to say
    ImageChange change;   // what the edit changed, also when it stopped part way

    bool IsDone() const { return status == EditStatus::done; }
};

// Why a transfer between these items is refused (different kinds, or a destination with more
// banks than the source), or null.
const char* TransferRefusal(const DumpImage& source, const Item& from, const DumpImage& destination,
                            const Item& to);

// True when a transfer between these items would run: no refusal, and both items exist under
// their images' layouts.
bool MayTransfer(const DumpImage& source, const Item& from, const DumpImage& destination,
                 const Item& to);

// CopyBank, CopyPlaylists, CopyTrack or CopyPattern by the items' kind.
EditResult TransferItem(DumpImage& destination, const DumpImage& source, const Item& from,
                        const Item& to);

// DeleteBank, DeletePlaylists, DeleteTrack or DeletePattern by the item's kind.
EditResult DeleteItem(DumpImage& image, const Item& item);

// Stores the Rename dialog's text as the bank's name ("Bank %02d" for an empty text).
EditResult RenameBank(DumpImage& image, int bank, const std::string& text);

// Only banks have names a user gives.
bool CanRename(const Item& item);
// RenameBank for a bank; any other item is refused with kOnlyBanksRefusal.
EditResult RenameItem(DumpImage& image, const Item& item, const std::string& text);

// The line that tells where a stopped copy ended.
std::string StoppedCopyText(const EditResult& result);

}  // namespace korvel

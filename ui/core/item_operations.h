// The model operation for each kind of selected item, shared by the window and korvel-cli.
#pragma once

#include "dump_image.h"

#include "item_tag.h"

namespace korvel::ui {

// Why a transfer between these items is refused (the window's message text), or null.
const char* TransferRefusal(const DumpImage& source, const Selection& from,
                            const DumpImage& destination, const Selection& to);

// CopyBank, CopyPlaylists, CopyTrack or CopyPattern by the item's kind: 1 when done, 0 when
// stopped or the kind is none of them.
int CopyItem(DumpImage& destination, const DumpImage& source, const Selection& from,
             const Selection& to);

// DeleteBank, DeletePlaylists, DeleteTrack or DeletePattern by the item's kind; 0 for no item.
int DeleteItem(DumpImage& image, const Selection& item);

}  // namespace korvel::ui

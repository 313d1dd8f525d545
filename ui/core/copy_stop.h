// Where a transfer that returned 0 stopped: the first empty source slot on its way.
#pragma once

#include "dump_image.h"

#include "item_tag.h"

#include <optional>
#include <string>

namespace korvel::ui {

struct CopyStop {
    bool playlist = false;  // an empty playlist slot; otherwise an empty pattern slot
    std::string where;      // as the source tree numbers it: "B05 T03 P02" or "Playlist B05 #3"
};

// Follows the copy's own order (patterns by track, then the playlists) through the source.
std::optional<CopyStop> FindCopyStop(const DumpImage& source, const Selection& from);

// The status line that reports it.
std::string CopyStopText(const CopyStop& stop);

}  // namespace korvel::ui

// Items as the tree shows them, one-based: B05, B05L, B05T02, B05T02P03.
#pragma once

#include "dump_image.h"

#include "item_tag.h"

#include <optional>
#include <string>

namespace korvel::cli {

// The item as a selection with zero-based numbers; nullopt when the text is not an item.
std::optional<ui::Selection> ParseItem(const std::string& text);

// True when the item exists under the image's layout.
bool ItemExists(const DumpImage& image, const ui::Selection& item);

std::string LayoutName(const DumpImage& image);

}  // namespace korvel::cli

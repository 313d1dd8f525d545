// Items as the tree shows them, one-based: B05, B05L, B05T02, B05T02P03.
#pragma once

#include "dump_image.h"
#include "item.h"

#include <optional>
#include <string>

namespace korvel::cli {

// The item with zero-based numbers; nullopt when the text is not an item.
std::optional<Item> ParseItem(const std::string& text);

// The item as korvel-cli writes it: B05, B05L, B05T02, B05T02P03.
std::string ItemText(const Item& item);

std::string LayoutName(const DumpImage& image);

}  // namespace korvel::cli

#include "item_cover.h"

namespace korvel {

ItemCover SlotsOf(const Item& item, MemoryLayout layout) {
    ItemCover cover;
    ForEachCovered(
        item, layout, [&cover](const CoveredSlot& slot) { cover.slots.push_back(slot); },
        [&cover](NamePlace name) { cover.names.push_back(name); });
    return cover;
}

}  // namespace korvel

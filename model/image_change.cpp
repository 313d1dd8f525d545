#include "image_change.h"

#include "dump_image.h"

namespace korvel {

namespace {

bool SameSlot(const SlotState& a, const SlotState& b) {
    return a.message == b.message && a.name == b.name;
}

}  // namespace

std::size_t ImageChange::HeldBytes() const {
    std::size_t bytes = sizeof(*this);
    for (const ImageState* state : {&before, &after}) {
        for (const auto& slot : state->slotStates) {
            bytes += sizeof(slot) + slot.message.capacity() + slot.name.capacity();
        }
        for (const auto& name : state->names) {
            bytes += sizeof(name) + name.text.capacity();
        }
    }
    return bytes;
}

ImageChange Difference(ImageState before, ImageState after) {
    ImageChange change;
    for (std::size_t i = 0; i < before.slotStates.size() && i < after.slotStates.size(); ++i) {
        if (!SameSlot(before.slotStates[i], after.slotStates[i])) {
            change.before.slotStates.push_back(std::move(before.slotStates[i]));
            change.after.slotStates.push_back(std::move(after.slotStates[i]));
        }
    }
    for (std::size_t i = 0; i < before.names.size() && i < after.names.size(); ++i) {
        if (before.names[i].text != after.names[i].text) {
            change.before.names.push_back(std::move(before.names[i]));
            change.after.names.push_back(std::move(after.names[i]));
        }
    }
    change.before.slotStates.shrink_to_fit();
    change.after.slotStates.shrink_to_fit();
    return change;
}

MessageSlot& DumpImage::MutableSlotAt(SlotPlace place) {
    const auto index = static_cast<std::size_t>(place.index);
    return place.area == SlotArea::pattern ? patterns_[index] : playlists_[index];
}

std::string& DumpImage::NameAt(NamePlace place) {
    const auto index = static_cast<std::size_t>(place.index);
    switch (place.area) {
        case NameArea::track:
            return trackNames_[index];
        case NameArea::playlist:
            return playlistNames_[index];
        case NameArea::bank:
            break;
    }
    return bankNames_[index];
}

const std::string& DumpImage::NameAt(NamePlace place) const {
    return const_cast<DumpImage&>(*this).NameAt(place);
}

const MessageSlot& DumpImage::SlotAt(SlotPlace place) const {
    const auto index = static_cast<std::size_t>(place.index);
    return place.area == SlotArea::pattern ? patterns_[index] : playlists_[index];
}

ImageState DumpImage::Capture(const Footprint& footprint) const {
    ImageState state;
    state.slotStates.reserve(footprint.slotPlaces.size());
    for (const SlotPlace place : footprint.slotPlaces) {
        const MessageSlot& slot = SlotAt(place);
        const auto bytes = slot.Bytes();
        state.slotStates.push_back({place, {bytes.begin(), bytes.end()}, slot.name});
    }
    state.names.reserve(footprint.names.size());
    for (const NamePlace place : footprint.names) {
        state.names.push_back({place, NameAt(place)});
    }
    return state;
}

void DumpImage::Restore(const ImageState& state) {
    for (const auto& slot : state.slotStates) {
        MutableSlotAt(slot.place).Assign(slot.message, slot.name);
    }
    for (const auto& name : state.names) {
        NameAt(name.place) = name.text;
    }
}

}  // namespace korvel

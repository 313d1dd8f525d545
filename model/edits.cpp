// Every rule that depends on an item's kind lives here: what a transfer or a delete touches,
// which image operation runs it, and where a stopped copy ended.
#include "edits.h"

#include "bank_names.h"
#include "item_cover.h"

#include <functional>
#include <vector>

namespace korvel {

namespace {

// An edit before it runs: the places it may touch and the operation. A transfer's source
// slots lie in the order its operation copies them.
struct PlannedEdit {
    Footprint footprint;
    std::vector<CoveredSlot> sourceSlots;
    std::function<int()> run;
};

// An item's slots and names: what an edit on it may change.
Footprint FootprintOf(const ItemCover& cover) {
    Footprint footprint;
    for (const CoveredSlot& slot : cover.slots) {
        footprint.slotPlaces.push_back(slot.place);
    }
    footprint.names = cover.names;
    return footprint;
}

PlannedEdit PlanTransfer(DumpImage& destination, const DumpImage& source, const Item& from,
                         const Item& to) {
    PlannedEdit edit;
    edit.footprint = FootprintOf(SlotsOf(to, destination.Layout()));
    edit.sourceSlots = SlotsOf(from, source.Layout()).slots;
    switch (from.kind) {
        case ItemKind::bank:
            edit.run = [&, from, to] { return destination.CopyBank(source, from.bank, to.bank); };
            break;
        case ItemKind::playlists:
            edit.run = [&, from, to] {
                return destination.CopyPlaylists(source, from.bank, to.bank);
            };
            break;
        case ItemKind::track:
            edit.run = [&, from, to] {
                return destination.CopyTrack(source, from.bank, from.track, to.bank, to.track);
            };
            break;
        case ItemKind::pattern:
            edit.run = [&, from, to] {
                return destination.CopyPattern(source, from.bank, from.track, from.pattern, to.bank,
                                               to.track, to.pattern);
            };
            break;
        case ItemKind::none:
            break;
    }
    return edit;
}

PlannedEdit PlanDelete(DumpImage& image, const Item& item) {
    PlannedEdit edit;
    edit.footprint = FootprintOf(SlotsOf(item, image.Layout()));
    switch (item.kind) {
        case ItemKind::bank:
            edit.run = [&image, item] { return image.DeleteBank(item.bank); };
            break;
        case ItemKind::playlists:
            edit.run = [&image, item] { return image.DeletePlaylists(item.bank); };
            break;
        case ItemKind::track:
            edit.run = [&image, item] { return image.DeleteTrack(item.bank, item.track); };
            break;
        case ItemKind::pattern:
            edit.run = [&image, item] {
                return image.DeletePattern(item.bank, item.track, item.pattern);
            };
            break;
        case ItemKind::none:
            break;
    }
    return edit;
}

EditResult Refused(std::string why) {
    EditResult result;
    result.status = EditStatus::refused;
    result.refusal = std::move(why);
    return result;
}

EditResult Run(DumpImage& image, const PlannedEdit& edit) {
    ImageState before = image.Capture(edit.footprint);
    EditResult result;
    result.status = edit.run() == 1 ? EditStatus::done : EditStatus::stopped;
    result.change = Difference(std::move(before), image.Capture(edit.footprint));
    return result;
}

}  // namespace

bool ItemExists(const DumpImage& image, const Item& item) {
    switch (item.kind) {
        case ItemKind::bank:
        case ItemKind::playlists:
            return image.IsBankValid(item.bank);
        case ItemKind::track:
            return image.IsTrackValid(item.bank, item.track);
        case ItemKind::pattern:
            return image.IsPatternValid(item.bank, item.track, item.pattern);
        case ItemKind::none:
            break;
    }
    return false;
}

std::string ItemName(const Item& item) {
    switch (item.kind) {
        case ItemKind::bank:
            return DefaultBankName(item.bank);
        case ItemKind::playlists:
            return PlaylistProvenance(item.bank);
        case ItemKind::track:
            return TrackProvenance(item.bank, item.track);
        case ItemKind::pattern:
            return PatternProvenance(item.bank, item.track, item.pattern);
        case ItemKind::none:
            break;
    }
    return {};
}

const char* TransferRefusal(const DumpImage& source, const Item& from, const DumpImage& destination,
                            const Item& to) {
    if (from.kind != to.kind) {
        return kSameKindRefusal;
    }
    // Checked for every kind, playlists and banks included.
    if (destination.BankCount() > source.BankCount()) {
        return kLayoutRefusal;
    }
    return nullptr;
}

bool MayTransfer(const DumpImage& source, const Item& from, const DumpImage& destination,
                 const Item& to) {
    return TransferRefusal(source, from, destination, to) == nullptr && ItemExists(source, from) &&
           ItemExists(destination, to);
}

EditResult TransferItem(DumpImage& destination, const DumpImage& source, const Item& from,
                        const Item& to) {
    if (const char* refusal = TransferRefusal(source, from, destination, to)) {
        return Refused(refusal);
    }
    if (!MayTransfer(source, from, destination, to)) {
        return Refused({});
    }
    const PlannedEdit edit = PlanTransfer(destination, source, from, to);
    EditResult result = Run(destination, edit);
    if (result.status == EditStatus::stopped) {
        // The operation stops at the first empty source slot in its own order.
        for (const CoveredSlot& slot : edit.sourceSlots) {
            if (source.SlotAt(slot.place).IsEmpty()) {
                result.stoppedAt = slot.item;
                break;
            }
        }
    }
    return result;
}

EditResult DeleteItem(DumpImage& image, const Item& item) {
    if (!ItemExists(image, item)) {
        return Refused({});
    }
    return Run(image, PlanDelete(image, item));
}

EditResult RenameBank(DumpImage& image, int bank, const std::string& text) {
    if (!image.IsBankValid(bank)) {
        return Refused({});
    }
    PlannedEdit edit;
    edit.footprint.names.push_back({NameArea::bank, bank});
    edit.run = [&image, bank, &text] {
        image.SetBankName(bank, RenamedBankName(bank, text));
        return 1;
    };
    return Run(image, edit);
}

bool CanRename(const Item& item) {
    return item.kind == ItemKind::bank;
}

EditResult RenameItem(DumpImage& image, const Item& item, const std::string& text) {
    if (!CanRename(item)) {
        return Refused(kOnlyBanksRefusal);
    }
    return RenameBank(image, item.bank, text);
}

std::string StoppedCopyText(const EditResult& result) {
    if (!result.stoppedAt) {
        return "Nothing was copied.";
    }
    const Item& stop = *result.stoppedAt;
    const bool playlist = stop.kind == ItemKind::playlists;
    const std::string where =
        playlist ? PlaylistProvenance(stop.bank) + " #" + std::to_string(stop.pattern + 1)
                 : ItemName(stop);
    return std::string("The copy stopped at an empty source ") +
           (playlist ? "playlist" : "pattern") + " (" + where +
           "); what was copied before it stays.";
}

}  // namespace korvel

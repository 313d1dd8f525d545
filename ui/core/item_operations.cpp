#include "item_operations.h"

#include "messages.h"

namespace korvel::ui {

const char* TransferRefusal(const DumpImage& source, const Selection& from,
                            const DumpImage& destination, const Selection& to) {
    if (from.kind != to.kind) {
        return kSameTypeMessage;
    }
    // Checked for every kind, playlists and banks included.
    if (destination.layout > source.layout) {
        return kLayoutMessage;
    }
    return nullptr;
}

int CopyItem(DumpImage& destination, const DumpImage& source, const Selection& from,
             const Selection& to) {
    switch (from.kind) {
        case kBankKind:
            return destination.CopyBank(source, from.bank, to.bank);
        case kPlaylistKind:
            return destination.CopyPlaylists(source, from.bank, to.bank);
        case kTrackKind:
            return destination.CopyTrack(source, from.bank, from.track, to.bank, to.track);
        case kPatternKind:
            return destination.CopyPattern(source, from.bank, from.track, from.pattern, to.bank,
                                           to.track, to.pattern);
        default:
            return 0;
    }
}

int DeleteItem(DumpImage& image, const Selection& item) {
    switch (item.kind) {
        case kBankKind:
            return image.DeleteBank(item.bank);
        case kPlaylistKind:
            return image.DeletePlaylists(item.bank);
        case kTrackKind:
            return image.DeleteTrack(item.bank, item.track);
        case kPatternKind:
            return image.DeletePattern(item.bank, item.track, item.pattern);
        default:
            return 0;
    }
}

}  // namespace korvel::ui

// Copying patterns, tracks, playlist sets and banks from another image into this one.
#include "dump_image.h"
#include "bank_names.h"

namespace korvel {

namespace {

// A track or bank copy would drop patterns when the source's tracks are longer than ours.
bool TracksFit(const DumpImage& source, const DumpImage& destination) {
    return source.PatternsPerTrack() <= destination.PatternsPerTrack();
}

}  // namespace

int DumpImage::CopyPattern(const DumpImage& source, int srcBank, int srcTrack, int srcPattern,
                           int dstBank, int dstTrack, int dstPattern) {
    if (!source.IsPatternValid(srcBank, srcTrack, srcPattern) ||
        !IsPatternValid(dstBank, dstTrack, dstPattern)) {
        return 0;
    }
    const MessageSlot& from =
        source.patterns_[source.PatternSlotIndex(srcBank, srcTrack, srcPattern)];
    if (from.IsEmpty()) {
        return 0;
    }
    MessageSlot& to = patterns_[PatternSlotIndex(dstBank, dstTrack, dstPattern)];
    if (&from == &to) {
        return 1;  // copying a slot onto itself changes nothing
    }
    to.CopyFrom(from);
    to.ReaddressPattern(dstBank % 3, dstTrack,
                        PatternBase(dstBank, layout_.BankCount()) + dstPattern);
    to.SetName(from.name.empty() ? PatternProvenance(srcBank, srcTrack, srcPattern) : from.name);
    return 1;
}

int DumpImage::CopyTrack(const DumpImage& source, int srcBank, int srcTrack, int dstBank,
                         int dstTrack) {
    if (!source.IsTrackValid(srcBank, srcTrack) || !IsTrackValid(dstBank, dstTrack) ||
        !TracksFit(source, *this)) {
        return 0;
    }
    for (int i = 0; i < source.PatternsPerTrack(); ++i) {
        if (CopyPattern(source, srcBank, srcTrack, i, dstBank, dstTrack, i) == 0) {
            return 0;
        }
    }
    const std::string& sourceName = source.trackNames_[srcBank * kTracksPerBank + srcTrack];
    trackNames_[dstBank * kTracksPerBank + dstTrack] =
        sourceName.empty() ? TrackProvenance(srcBank, srcTrack) : sourceName;
    return 1;
}

int DumpImage::CopyPlaylists(const DumpImage& source, int srcBank, int dstBank) {
    if (!source.IsBankValid(srcBank) || !IsBankValid(dstBank)) {
        return 0;
    }
    for (int i = 0; i < kPlaylistsPerBank; ++i) {
        const MessageSlot& from = source.playlists_[srcBank * kPlaylistsPerBank + i];
        if (from.IsEmpty()) {
            return 0;
        }
        MessageSlot& to = playlists_[dstBank * kPlaylistsPerBank + i];
        if (&from != &to) {
            to.CopyFrom(from);
            to.ReaddressPlaylist(dstBank, i);
        }
    }
    const std::string& sourceName = source.playlistNames_[srcBank];
    playlistNames_[dstBank] = sourceName.empty() ? PlaylistProvenance(srcBank) : sourceName;
    return 1;
}

int DumpImage::CopyBank(const DumpImage& source, int srcBank, int dstBank) {
    if (!source.IsBankValid(srcBank) || !IsBankValid(dstBank) || !TracksFit(source, *this)) {
        return 0;
    }
    for (int t = 0; t < kTracksPerBank; ++t) {
        if (CopyTrack(source, srcBank, t, dstBank, t) == 0) {
            return 0;
        }
    }
    const std::string& sourceName = source.bankNames_[srcBank];
    if (!sourceName.empty() && !IsUnnamedForm(sourceName)) {
        bankNames_[dstBank] = NumberedBankName(dstBank, VisibleBankText(sourceName));
    }
    return CopyPlaylists(source, srcBank, dstBank);
}

}  // namespace korvel

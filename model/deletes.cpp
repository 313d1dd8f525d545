// Removing material from this image and naming its banks.
#include "dump_image.h"

namespace korvel {

int DumpImage::DeletePattern(int bank, int track, int pattern) {
    if (!IsPatternValid(bank, track, pattern)) {
        return 0;
    }
    patterns_[PatternSlotIndex(bank, track, pattern)].Clear();
    return 1;
}

int DumpImage::DeleteTrack(int bank, int track) {
    if (!IsTrackValid(bank, track)) {
        return 0;
    }
    for (int p = 0; p < PatternsPerTrack(); ++p) {
        DeletePattern(bank, track, p);
    }
    return 1;
}

int DumpImage::DeletePlaylists(int bank) {
    if (!IsBankValid(bank)) {
        return 0;
    }
    for (int i = 0; i < kPlaylistsPerBank; ++i) {
        playlists_[bank * kPlaylistsPerBank + i].Clear();
    }
    return 1;
}

int DumpImage::DeleteBank(int bank) {
    if (!IsBankValid(bank)) {
        return 0;
    }
    for (int t = 0; t < kTracksPerBank; ++t) {
        DeleteTrack(bank, t);
    }
    bankNames_[bank].clear();
    return DeletePlaylists(bank);
}

void DumpImage::SetBankName(int bank, std::string name) {
    if (bank < 0 || bank >= kBankCount) {
        return;
    }
    // The side file holds one name per line, so a line break would shift every later bank.
    for (char& c : name) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    bankNames_[bank] = std::move(name);
}

}  // namespace korvel

#include "copy_stop.h"

#include "bank_names.h"

namespace korvel::ui {

namespace {

std::optional<CopyStop> FirstEmptyPattern(const DumpImage& source, int bank, int track,
                                          int firstPattern, int lastPattern) {
    for (int p = firstPattern; p <= lastPattern; ++p) {
        if (source.IsPatternEmpty(bank, track, p)) {
            return CopyStop{false, PatternProvenance(bank, track, p)};
        }
    }
    return std::nullopt;
}

std::optional<CopyStop> FirstEmptyPlaylist(const DumpImage& source, int bank) {
    for (int i = 0; i < kPlaylistsPerBank; ++i) {
        if (source.playlists[static_cast<std::size_t>(bank * kPlaylistsPerBank + i)].IsEmpty()) {
            return CopyStop{true, PlaylistProvenance(bank) + " #" + std::to_string(i + 1)};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<CopyStop> FindCopyStop(const DumpImage& source, const Selection& from) {
    if (!source.IsBankValid(from.bank)) {
        return std::nullopt;
    }
    const int last = source.PatternsPerTrack() - 1;
    switch (from.kind) {
        case kPatternKind:
            return FirstEmptyPattern(source, from.bank, from.track, from.pattern, from.pattern);
        case kTrackKind:
            return FirstEmptyPattern(source, from.bank, from.track, 0, last);
        case kPlaylistKind:
            return FirstEmptyPlaylist(source, from.bank);
        case kBankKind:
            for (int t = 0; t < kTracksPerBank; ++t) {
                if (auto stop = FirstEmptyPattern(source, from.bank, t, 0, last)) {
                    return stop;
                }
            }
            return FirstEmptyPlaylist(source, from.bank);
        default:
            return std::nullopt;
    }
}

std::string CopyStopText(const CopyStop& stop) {
    return std::string("The copy stopped at an empty source ") +
           (stop.playlist ? "playlist" : "pattern") + " (" + stop.where +
           "); what was copied before it stays.";
}

}  // namespace korvel::ui

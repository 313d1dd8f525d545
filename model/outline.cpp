#include "outline.h"

#include "bank_names.h"

#include <string>

namespace korvel {

namespace {

// "Track %1d" and "Pattern %2d".
std::string TrackLabel(int track) {
    return "Track " + std::to_string(track + 1);
}
std::string PatternLabel(int pattern) {
    return (pattern + 1 < 10 ? "Pattern  " : "Pattern ") + std::to_string(pattern + 1);
}

Fill Combine(int full, int empty, int count) {
    if (full == count) {
        return Fill::full;
    }
    return empty == count ? Fill::empty : Fill::partial;
}

}  // namespace

const char* FillName(Fill fill) {
    switch (fill) {
        case Fill::empty:
            return "empty";
        case Fill::partial:
            return "partial";
        case Fill::full:
            break;
    }
    return "full";
}

Fill PatternFill(const DumpImage& image, int bank, int track, int pattern) {
    return image.IsPatternEmpty(bank, track, pattern) ? Fill::empty : Fill::full;
}

Fill TrackFill(const DumpImage& image, int bank, int track) {
    const int count = image.PatternsPerTrack();
    int full = 0;
    for (int p = 0; p < count; ++p) {
        full += PatternFill(image, bank, track, p) == Fill::full ? 1 : 0;
    }
    return Combine(full, count - full, count);
}

Fill PlaylistFill(const DumpImage& image, int bank) {
    return image.AreBankPlaylistsEmpty(bank) ? Fill::empty : Fill::full;
}

Fill BankFill(const DumpImage& image, int bank) {
    int full = 0;
    int empty = 0;
    const auto count = [&full, &empty](Fill fill) {
        full += fill == Fill::full ? 1 : 0;
        empty += fill == Fill::empty ? 1 : 0;
    };
    count(PlaylistFill(image, bank));
    for (int t = 0; t < kTracksPerBank; ++t) {
        count(TrackFill(image, bank, t));
    }
    return Combine(full, empty, kTracksPerBank + 1);
}

namespace {

// A node made in place at the end of `nodes`: an outline has up to 504 of them.
OutlineNode& Add(std::vector<OutlineNode>& nodes, const Item& item, std::string defaultText,
                 const std::string& name, Fill fill = Fill::empty) {
    OutlineNode& node = nodes.emplace_back();
    node.item = item;
    node.defaultText = std::move(defaultText);
    node.name = name;
    node.fill = fill;
    return node;
}

// Marks a node and what lies below it: a pattern takes its slot's mark, a playlist set adds up
// its playlists', and tracks and banks add up their children's.
void MarkAgainst(OutlineNode& node, const DumpImage& image, const ComparedSide& compared) {
    const MemoryLayout layout = image.Layout();
    const Item& item = node.item;
    if (item.kind == ItemKind::pattern || item.kind == ItemKind::playlists) {
        node.mark = compared.comparison.ItemMark(compared.side, item, layout);
    } else {
        node.mark = Mark::none;
        for (OutlineNode& child : node.children) {
            MarkAgainst(child, image, compared);
            node.mark = AddMarks(node.mark, child.mark);
        }
    }
    if (node.mark == Mark::differs || node.mark == Mark::onlyHere) {
        node.movedTo =
            compared.comparison.MovedTo(compared.side, item, layout, compared.otherLayout);
    }
    node.namesDiffer =
        item.kind == ItemKind::bank && compared.comparison.BankNamesDiffer(item.bank);
}

}  // namespace

Outline MakeOutline(const DumpImage& image, const ComparedSide* compared) {
    Outline outline;
    outline.reserve(static_cast<std::size_t>(image.BankCount()));
    const int patternsPerTrack = image.PatternsPerTrack();
    for (int b = 0; b < image.BankCount(); ++b) {
        OutlineNode& bank = Add(outline, Item::Bank(b), DefaultBankName(b), image.GetBankName(b));
        bank.children.reserve(1 + kTracksPerBank);
        const OutlineNode& playlists = Add(bank.children, Item::Playlists(b), PlaylistProvenance(b),
                                           image.GetPlaylistName(b), PlaylistFill(image, b));
        int fullChildren = playlists.fill == Fill::full ? 1 : 0;
        int emptyChildren = playlists.fill == Fill::empty ? 1 : 0;
        for (int t = 0; t < kTracksPerBank; ++t) {
            OutlineNode& track =
                Add(bank.children, Item::Track(b, t), TrackLabel(t), image.GetTrackName(b, t));
            track.children.reserve(static_cast<std::size_t>(patternsPerTrack));
            int full = 0;
            for (int p = 0; p < patternsPerTrack; ++p) {
                const Fill fill = PatternFill(image, b, t, p);
                full += fill == Fill::full ? 1 : 0;
                Add(track.children, Item::Pattern(b, t, p), PatternLabel(p),
                    image.GetPatternName(b, t, p), fill);
            }
            track.fill = Combine(full, patternsPerTrack - full, patternsPerTrack);
            fullChildren += track.fill == Fill::full ? 1 : 0;
            emptyChildren += track.fill == Fill::empty ? 1 : 0;
        }
        bank.fill = Combine(fullChildren, emptyChildren, kTracksPerBank + 1);
        if (compared != nullptr) {
            MarkAgainst(bank, image, *compared);
        }
    }
    return outline;
}

}  // namespace korvel

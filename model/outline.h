// A dump as its tree reads: banks, each with its playlist set and eight tracks of patterns, with
// every item's default text, the name the image gives it and how full it is. The window's tree
// and korvel-cli's `tree` are both drawn from it.
#pragma once

#include "comparison.h"
#include "dump_image.h"
#include "item.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel {

enum class Fill { empty, partial, full };

// "empty", "partial", "full".
const char* FillName(Fill fill);

struct OutlineNode {
    // User-provided, so that a node made in place is not zeroed first only to be overwritten.
    OutlineNode() {}

    Item item;
    std::string defaultText;  // "Bank 01", "Playlist B01", "Track 1", "Pattern  1"
    std::string name;         // the image's name for the item; empty when it has none
    Fill fill = Fill::empty;
    // Against the other dump, when the outline is drawn with a comparison.
    Mark mark = Mark::none;
    std::optional<Item> movedTo;  // where moved material lies, named under the other's layout
    bool namesDiffer = false;     // a bank whose name is not the other dump's
    std::vector<OutlineNode> children;

    // What a tree that shows names reads: the name, or else the default text.
    const std::string& Text() const { return name.empty() ? defaultText : name; }
};

// One node per bank, in tree order under the image's layout.
using Outline = std::vector<OutlineNode>;

// One side of a comparison, to mark an outline with.
struct ComparedSide {
    const Comparison& comparison;
    int side;
    MemoryLayout otherLayout;
};

Outline MakeOutline(const DumpImage& image, const ComparedSide* compared = nullptr);

Fill PatternFill(const DumpImage& image, int bank, int track, int pattern);
Fill TrackFill(const DumpImage& image, int bank, int track);
Fill PlaylistFill(const DumpImage& image, int bank);
Fill BankFill(const DumpImage& image, int bank);

}  // namespace korvel

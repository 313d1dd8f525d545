// One pane's tree as data, drawn from the dump's outline: banks, each with its playlist set and
// eight tracks of patterns, every node with its tag and its icon from the strip. The toolkit
// layer mirrors this forest in a tree widget.
#pragma once

#include "dump_image.h"
#include "outline.h"

#include "item_tag.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvel::ui {

// The strip holds four columns (bank, playlist, track, pattern) for each fill state: the icon
// index is the kind's column plus four times the fill.
inline constexpr int kBankIcon = 0;
inline constexpr int kPlaylistIcon = 1;
inline constexpr int kTrackIcon = 2;
inline constexpr int kPatternIcon = 3;
inline constexpr int kIconsPerFill = 4;

// The icon of a node of this item and fill.
int IconOf(const Item& item, Fill fill);

struct TreeNode {
    std::string text;
    int icon = 0;
    ItemTag tag = 0;
    // Against the other dump while comparing: the mark, what the "Compared" column reads
    // ("differs, as B03 T02 P01"), and for a bank whether the two names differ.
    Mark mark = Mark::none;
    std::string compared;
    bool namesDiffer = false;
    std::vector<TreeNode> children;
};

// The "Compared" column's text of an outline node.
std::string ComparedText(const OutlineNode& node);

using Forest = std::vector<TreeNode>;

// Where a node lies: its bank's root index, its index under the bank (0 the playlist set,
// 1 to 8 the tracks; -1 for the bank itself) and its pattern index (-1 for none).
struct NodePath {
    int bank = 0;
    int child = -1;
    int pattern = -1;
    // In tree order: a node comes before its children, and they before the next node.
    friend auto operator<=>(const NodePath&, const NodePath&) = default;
};

struct NodeChange {
    NodePath path;
    bool icon = false;
    bool text = false;
    bool mark = false;  // the mark, the compared text or the names' difference
};

// The whole tree anew: default texts for playlists, tracks and patterns, bank names from the
// image, fill-state icons everywhere.
// With `compared`, every node carries its mark against the other dump.
Forest Rebuild(const DumpImage& image, const ComparedSide* compared = nullptr);

// Whether a refresh puts a node's default text back when its name is gone. Only an undo does:
// after an edit the tree keeps showing what it showed.
enum class TextRule { keepShown, restoreDefaults };

// Brings icons and named texts of an existing forest up to date in place and returns the nodes
// that really changed, so a widget needs to touch only those. Never adds or removes a node and,
// unless told to, never puts a default text back; a forest with fewer nodes is tolerated.
// Without `compared` the marks are taken away.
std::vector<NodeChange> Refresh(const DumpImage& image, Forest& forest,
                                TextRule texts = TextRule::keepShown,
                                const ComparedSide* compared = nullptr);

// The slot-level nodes (patterns and playlist sets) in tree order, with their paths.
struct SlotNode {
    NodePath path;
    const TreeNode* node;
};
std::vector<SlotNode> SlotNodes(const Forest& forest);

const TreeNode* FindNode(const Forest& forest, const NodePath& path);
// Where the node with that tag lies, or nullopt.
std::optional<NodePath> PathOfTag(const Forest& forest, std::uint32_t tag);
std::size_t CountNodes(const Forest& forest);

}  // namespace korvel::ui

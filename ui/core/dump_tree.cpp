#include "dump_tree.h"

#include <array>

namespace korvel::ui {

namespace {

// Sets a node's icon or text when it differs, and notes what changed.
class Updater {
  public:
    Updater(std::vector<NodeChange>& changes, TextRule texts) : changes_(changes), texts_(texts) {}

    // The item's name replaces the node's text when it is not empty; otherwise, when defaults
    // are put back, its default text does. A bank always shows its name or its default.
    void Apply(TreeNode& node, const NodePath& path, const OutlineNode& item) {
        NodeChange change{path};
        const int icon = IconOf(item.item, item.fill);
        if (node.icon != icon) {
            node.icon = icon;
            change.icon = true;
        }
        const bool showDefault =
            texts_ == TextRule::restoreDefaults || item.item.kind == ItemKind::bank;
        const std::string* text = !item.name.empty() ? &item.name
                                  : showDefault      ? &item.defaultText
                                                     : nullptr;
        if (text != nullptr && node.text != *text) {
            node.text = *text;
            change.text = true;
        }
        // Unmarked on both sides is the common case: no compared text to build.
        if (node.mark != item.mark || item.mark != Mark::none ||
            node.namesDiffer != item.namesDiffer) {
            std::string compared = ComparedText(item);
            if (node.mark != item.mark || node.compared != compared ||
                node.namesDiffer != item.namesDiffer) {
                node.mark = item.mark;
                node.compared = std::move(compared);
                node.namesDiffer = item.namesDiffer;
                change.mark = true;
            }
        }
        if (change.icon || change.text || change.mark) {
            changes_.push_back(change);
        }
    }

  private:
    std::vector<NodeChange>& changes_;
    TextRule texts_;
};

TreeNode NodeOf(const OutlineNode& item, const std::string& text) {
    TreeNode node;
    node.text = text;
    node.icon = IconOf(item.item, item.fill);
    node.tag = ItemCode(item.item);
    node.mark = item.mark;
    node.compared = ComparedText(item);
    node.namesDiffer = item.namesDiffer;
    return node;
}

}  // namespace

std::string ComparedText(const OutlineNode& node) {
    if (node.mark == Mark::none) {
        return {};
    }
    std::string text = MarkWord(node.mark);
    if (node.movedTo) {
        text += ", as " + ItemName(*node.movedTo);
    }
    return text;
}

int IconOf(const Item& item, Fill fill) {
    // The strip's columns follow the kinds' order: bank, playlist set, track, pattern.
    const int column = item.kind == ItemKind::none ? kBankIcon : static_cast<int>(item.kind) - 1;
    return column + kIconsPerFill * static_cast<int>(fill);
}

Forest Rebuild(const DumpImage& image, const ComparedSide* compared) {
    const Outline outline = MakeOutline(image, compared);
    Forest forest;
    forest.reserve(outline.size());
    for (const OutlineNode& bankItem : outline) {
        // A rebuilt tree shows only bank names; copied material is named by the next refresh.
        TreeNode bank = NodeOf(bankItem, bankItem.Text());
        bank.children.reserve(bankItem.children.size());
        for (const OutlineNode& childItem : bankItem.children) {
            TreeNode child = NodeOf(childItem, childItem.defaultText);
            child.children.reserve(childItem.children.size());
            for (const OutlineNode& patternItem : childItem.children) {
                child.children.push_back(NodeOf(patternItem, patternItem.defaultText));
            }
            bank.children.push_back(std::move(child));
        }
        forest.push_back(std::move(bank));
    }
    return forest;
}

std::vector<NodeChange> Refresh(const DumpImage& image, Forest& forest, TextRule texts,
                                const ComparedSide* compared) {
    std::vector<NodeChange> changes;
    Updater updater(changes, texts);
    const Outline outline = MakeOutline(image, compared);
    for (std::size_t b = 0; b < outline.size() && b < forest.size(); ++b) {
        const OutlineNode& bankItem = outline[b];
        TreeNode& bank = forest[b];
        const int bankIndex = static_cast<int>(b);
        for (std::size_t c = 0; c < bankItem.children.size() && c < bank.children.size(); ++c) {
            const OutlineNode& childItem = bankItem.children[c];
            TreeNode& child = bank.children[c];
            const int childIndex = static_cast<int>(c);
            for (std::size_t p = 0; p < childItem.children.size() && p < child.children.size();
                 ++p) {
                updater.Apply(child.children[p], {bankIndex, childIndex, static_cast<int>(p)},
                              childItem.children[p]);
            }
            updater.Apply(child, {bankIndex, childIndex}, childItem);
        }
        updater.Apply(bank, {bankIndex}, bankItem);
    }
    return changes;
}

const TreeNode* FindNode(const Forest& forest, const NodePath& path) {
    if (path.bank < 0 || path.bank >= static_cast<int>(forest.size())) {
        return nullptr;
    }
    const TreeNode* node = &forest[static_cast<std::size_t>(path.bank)];
    if (path.child < 0) {
        return node;
    }
    if (path.child >= static_cast<int>(node->children.size())) {
        return nullptr;
    }
    node = &node->children[static_cast<std::size_t>(path.child)];
    if (path.pattern < 0) {
        return node;
    }
    if (path.pattern >= static_cast<int>(node->children.size())) {
        return nullptr;
    }
    return &node->children[static_cast<std::size_t>(path.pattern)];
}

std::vector<SlotNode> SlotNodes(const Forest& forest) {
    std::vector<SlotNode> nodes;
    for (std::size_t b = 0; b < forest.size(); ++b) {
        const auto& children = forest[b].children;
        for (std::size_t c = 0; c < children.size(); ++c) {
            const int bank = static_cast<int>(b);
            const int child = static_cast<int>(c);
            if (KindOfTag(children[c].tag) == ItemKind::playlists) {
                nodes.push_back({{bank, child}, &children[c]});
                continue;
            }
            for (std::size_t p = 0; p < children[c].children.size(); ++p) {
                nodes.push_back({{bank, child, static_cast<int>(p)}, &children[c].children[p]});
            }
        }
    }
    return nodes;
}

std::optional<NodePath> PathOfTag(const Forest& forest, std::uint32_t tag) {
    for (std::size_t b = 0; b < forest.size(); ++b) {
        const int bank = static_cast<int>(b);
        if (forest[b].tag == tag) {
            return NodePath{bank};
        }
        const auto& children = forest[b].children;
        for (std::size_t c = 0; c < children.size(); ++c) {
            const int child = static_cast<int>(c);
            if (children[c].tag == tag) {
                return NodePath{bank, child};
            }
            for (std::size_t p = 0; p < children[c].children.size(); ++p) {
                if (children[c].children[p].tag == tag) {
                    return NodePath{bank, child, static_cast<int>(p)};
                }
            }
        }
    }
    return std::nullopt;
}

std::size_t CountNodes(const Forest& forest) {
    std::size_t count = 0;
    for (const auto& node : forest) {
        count += 1 + CountNodes(node.children);
    }
    return count;
}

}  // namespace korvel::ui

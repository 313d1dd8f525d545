#include "compare_tool.h"

#include "count_text.h"

#include <algorithm>

namespace korvel::ui {

namespace {

ComparedSide SideIn(const Comparison& comparison, const Desk& desk, int pane) {
    return ComparedSide{comparison, pane == kLeftPane ? kLeftSide : kRightSide,
                        desk.image(OtherPane(pane)).Layout()};
}

}  // namespace

Comparison CompareTool::Compared() const {
    return Comparison::Of(desk_.image(kLeftPane), desk_.image(kRightPane));
}

void CompareTool::Recompare() {
    if (IsComparing()) {
        comparison_ = Compared();
    }
}

std::optional<ComparedSide> CompareTool::SideOf(int pane) const {
    if (!comparison_) {
        return std::nullopt;
    }
    return SideIn(*comparison_, desk_, pane);
}

std::optional<std::string> CompareTool::Summary() const {
    if (!comparison_) {
        return std::nullopt;
    }
    // A tree under fewer banks hides the playlist sets of the others: the one with the fewest
    // says how many of the differences it cannot show.
    const DumpImage& left = desk_.image(kLeftPane);
    const DumpImage& right = desk_.image(kRightPane);
    const MemoryLayout fewest =
        left.BankCount() <= right.BankCount() ? left.Layout() : right.Layout();
    return "Compared: " + comparison_->Summary(fewest);
}

void CompareTool::OnCompare(bool on) {
    if (on == IsComparing()) {
        return;
    }
    if (on) {
        comparison_ = Compared();
    } else {
        comparison_.reset();
    }
    for (const int pane : {kLeftPane, kRightPane}) {
        desk_.RefreshTree(pane, TextRule::keepShown);
    }
    views_.ComparingChanged(on);
    desk_.Say({});
}

void CompareTool::OnNextDifference(int pane, bool forward) {
    // Without the column the marks are found all the same; the tree just does not show them.
    const Comparison comparison = comparison_ ? *comparison_ : Compared();
    const ComparedSide side = SideIn(comparison, desk_, pane);
    const Forest marked = Rebuild(desk_.image(pane), &side);
    const std::vector<SlotNode> nodes = SlotNodes(marked);
    if (nodes.empty()) {
        return;
    }
    const auto selected = views_.SelectedTag(pane);
    // The walk starts just past the selected node, whatever its kind (a bank, a track, a
    // pattern), and wraps; without a selection, before the first.
    const std::size_t count = nodes.size();
    std::size_t start = forward ? count - 1 : 0;
    if (const auto from = selected ? PathOfTag(marked, *selected) : std::nullopt) {
        const auto firstFrom = [&nodes](const NodePath& path, bool inclusive) {
            const auto it = std::find_if(nodes.begin(), nodes.end(), [&](const SlotNode& n) {
                return inclusive ? n.path >= path : n.path > path;
            });
            return static_cast<std::size_t>(it - nodes.begin());
        };
        start = forward ? firstFrom(*from, false) + count - 1 : firstFrom(*from, true);
    }
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t at = forward ? (start + step) % count : (start + count - step) % count;
        const Mark mark = nodes[at].node->mark;
        if (mark != Mark::none && mark != Mark::same) {
            views_.SelectNode(pane, nodes[at].path);
            desk_.Say({});
            return;
        }
    }
    const std::string unseen = UnseenDifferences(comparison, pane);
    desk_.Say(unseen.empty() ? "Nothing differs from the other dump."
                             : "Nothing this tree shows differs; " + unseen + ".");
}

std::string CompareTool::UnseenDifferences(const Comparison& comparison, int pane) const {
    std::vector<std::string> parts;
    if (const int hidden = comparison.HiddenBy(desk_.image(pane).Layout()); hidden > 0) {
        parts.push_back(
            Counted(static_cast<std::uint64_t>(hidden), "slot differs", "slots differ") +
            " in playlists of banks this layout does not show");
    }
    if (comparison.Type3Differs()) {
        parts.push_back("the type-3 messages differ");
    }
    const auto& ours = desk_.image(pane).BankNames();
    const auto& theirs = desk_.image(OtherPane(pane)).BankNames();
    std::vector<std::string> renamed;
    for (std::size_t bank = 0; bank < ours.size(); ++bank) {
        if (ours[bank] != theirs[bank]) {
            renamed.push_back(std::to_string(bank + 1));
        }
    }
    if (!renamed.empty()) {
        std::string banks;
        for (std::size_t i = 0; i < renamed.size(); ++i) {
            banks += (i == 0 ? "" : i + 1 == renamed.size() ? " and " : ", ") + renamed[i];
        }
        parts.push_back(renamed.size() == 1 ? "the name of bank " + banks + " differs"
                                            : "the names of banks " + banks + " differ");
    }
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : "; ") + part;
    }
    return text;
}

}  // namespace korvel::ui

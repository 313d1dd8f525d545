// Compare: the two dumps side by side, each tree's nodes marked with how they stand against the
// other dump, and F8 and Shift+F8 from one difference to the next.
#pragma once

#include "comparison.h"

#include "host.h"
#include "pane.h"

#include <optional>
#include <string>

namespace korvel::ui {

class CompareTool {
  public:
    CompareTool(Desk& desk, PaneViews& views) : desk_(desk), views_(views) {}

    // Comparing the two dumps, on or off for the window.
    void OnCompare(bool on);
    bool IsComparing() const { return comparison_.has_value(); }
    // The next or previous pattern or playlist set, from the selection on and round the end,
    // whose mark says it is not the same in the other dump.
    void OnNextDifference(int pane, bool forward);

    // While comparing: the comparison anew after a change of either dump.
    void Recompare();
    // This pane's side of the comparison, or nullopt when not comparing.
    std::optional<ComparedSide> SideOf(int pane) const;
    // What the status line adds while comparing; nullopt when not comparing.
    std::optional<std::string> Summary() const;

  private:
    Comparison Compared() const;
    // What differs that this pane's tree has no mark for: playlists of banks its layout does not
    // show, the type-3 messages, the bank names; "" when nothing does.
    std::string UnseenDifferences(const Comparison& comparison, int pane) const;

    Desk& desk_;
    PaneViews& views_;
    std::optional<Comparison> comparison_;
};

}  // namespace korvel::ui

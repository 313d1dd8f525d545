// One pane of the window: the document it shows, the tree drawn from it and where its file
// choosers start.
#pragma once

#include "document.h"

#include "dump_tree.h"
#include "recent_files.h"

#include <string>

namespace korvel::ui {

inline constexpr int kLeftPane = 0;
inline constexpr int kRightPane = 1;

inline int OtherPane(int pane) {
    return pane == kLeftPane ? kRightPane : kLeftPane;
}

// "left" or "right", as the window's texts name a pane.
inline const char* PaneName(int pane) {
    return pane == kLeftPane ? "left" : "right";
}

struct Pane {
    Document document;
    Forest tree;
    std::string folder;      // where Open starts; changed only by a successful Open
    std::string saveFolder;  // where Save starts: the folder last opened or saved in
    RecentFiles recent;      // what was last opened or saved here
};

// What every tool of the window shares: the two panes and the status line.
class Desk {
  public:
    virtual ~Desk() = default;
    virtual Pane& At(int pane) = 0;
    virtual const Pane& pane(int pane) const = 0;
    // The status line: the command's own words, and while comparing what differs.
    virtual void Say(const std::string& text) = 0;
    // Brings the pane's tree up to date with its image (and, while comparing, its marks).
    virtual void RefreshTree(int pane, TextRule texts) = 0;

    const Document& document(int p) const { return pane(p).document; }
    const DumpImage& image(int p) const { return document(p).Image(); }
    bool IsChanged(int p) const { return document(p).IsModified(); }
};

}  // namespace korvel::ui

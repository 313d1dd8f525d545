// The two-pane main dialog without widgets: it keeps the panes and their trees and composes one
// tool per feature (files, edits, compare, the W2 link). Each command asks the host what it
// needs, runs one model operation on a pane's document, and the dialog tells the host how the
// pane's tree changed.
#pragma once

#include "document.h"
#include "dump_image.h"

#include "commands.h"
#include "compare_tool.h"
#include "dump_tree.h"
#include "edit_tool.h"
#include "file_tool.h"
#include "host.h"
#include "pane.h"
#include "settings.h"
#include "w2_link.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace korvel::ui {

// What is dragged over a pane: nodes of one of the trees, or files from outside.
struct Drag {
    std::optional<int> fromPane;     // the tree the nodes come from
    std::vector<std::string> files;  // local files from outside
};

struct DropAnswer {
    bool accepted = false;
    bool highlight = false;  // the node under the pointer would take the drop
};

class Workbench : private Desk {
  public:
    explicit Workbench(Host& host) : Workbench(host, host, host) {}
    Workbench(Host& host, DumpLoader loader);
    Workbench(Prompts& prompts, PaneViews& views, Services& services);
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // Reads the settings, applies the stored layouts and builds both trees.
    void Start(SettingsStore& settings);
    // Asks, when a pane holds unsaved changes, whether to end anyway; true to end.
    bool MayEnd() { return files_.MayEnd(); }
    // Writes the settings.
    void End(SettingsStore& settings);

    FileTool& Files() { return files_; }
    EditTool& Edits() { return edits_; }
    CompareTool& Compare() { return compare_; }
    W2Link& Link() { return link_; }
    const FileTool& Files() const { return files_; }
    const EditTool& Edits() const { return edits_; }
    const CompareTool& Compare() const { return compare_; }
    const W2Link& Link() const { return link_; }

    // Runs a command of the table on the pane (window commands take any).
    void Run(CommandId command, int pane) { CommandOf(command).run(*this, pane); }
    // A drag over `target` of the pane's tree (nullopt: no node, or not over the tree). Nodes of
    // the other tree go onto a node of this one, with the refusals of "-->"; files open, two of
    // them in the left and the right pane.
    DropAnswer MayDrop(int pane, const Drag& drag, std::optional<ItemTag> target) const;
    void OnDrop(int pane, const Drag& drag, std::optional<ItemTag> target);
    void ShowAbout() { dialogs_.ShowAbout(); }

    // Edited since it was opened, created or saved, and not undone back to that point.
    bool IsChanged(int pane) const { return Desk::IsChanged(pane); }
    const Pane& pane(int index) const override { return panes_[static_cast<std::size_t>(index)]; }
    const Document& document(int index) const { return pane(index).document; }
    const DumpImage& image(int index) const { return document(index).Image(); }
    const Forest& tree(int index) const { return pane(index).tree; }

  private:
    // Desk
    Pane& At(int index) override { return panes_[static_cast<std::size_t>(index)]; }
    void Say(const std::string& text) override;
    void RefreshTree(int pane, TextRule texts) override;

    void Listen(int pane);
    // Brings the pane's view up to date with what its document reported.
    void Show(int pane, const DocumentEvent& event);
    void RebuildTree(int pane);

    PaneViews& views_;
    EditDialogs& dialogs_;
    std::array<Pane, 2> panes_;
    FileTool files_;
    EditTool edits_;
    CompareTool compare_;
    W2Link link_;
};

}  // namespace korvel::ui

// The edits of a pane: transfers between the panes (the buttons and drags), Delete, Rename,
// the memory layout, and Undo and Redo.
#pragma once

#include "host.h"
#include "item_tag.h"
#include "pane.h"

#include <string>

namespace korvel::ui {

class EditTool {
  public:
    EditTool(Desk& desk, Prompts& prompts, PaneViews& views, EditDialogs& dialogs)
        : desk_(desk), prompts_(prompts), views_(views), dialogs_(dialogs) {}

    // The source pane's selection onto the destination pane's.
    void OnTransfer(int sourcePane, int destinationPane);
    // The source pane's selected node dragged onto `target` of the other pane: the transfer
    // onto that node, with the refusals and the undo step of OnTransfer.
    void OnDropTransfer(int sourcePane, int destinationPane, ItemTag target);
    // True when such a drop would copy: the node under the pointer is then highlighted.
    bool WouldAcceptDrop(int sourcePane, int destinationPane, ItemTag target) const;
    void OnDelete(int pane);
    void OnRename(int pane);
    void OnMemLayout(int pane);
    // The choice of the settings and the Memory Layout dialog (0, 1, 2) as the pane's layout;
    // anything else leaves the layout as it is.
    void ApplyLayoutChoice(int pane, int choice);
    void OnUndo(int pane) { UndoOrRedo(pane, true); }
    void OnRedo(int pane) { UndoOrRedo(pane, false); }
    // The tooltips of Undo and Redo ("Undo copy of B01 T03 into B04 T01"); empty when there is
    // no step.
    std::string UndoText(int pane) const;
    std::string RedoText(int pane) const;

  private:
    void Transfer(int sourcePane, ItemTag sourceTag, int destinationPane, ItemTag destinationTag);
    void UndoOrRedo(int pane, bool undo);

    Desk& desk_;
    Prompts& prompts_;
    PaneViews& views_;
    EditDialogs& dialogs_;
};

}  // namespace korvel::ui

#include "edit_tool.h"

#include "bank_names.h"
#include "edits.h"

#include "messages.h"

namespace korvel::ui {

void EditTool::OnTransfer(int sourcePane, int destinationPane) {
    const auto sourceTag = views_.SelectedTag(sourcePane);
    const auto destinationTag = views_.SelectedTag(destinationPane);
    if (sourceTag && destinationTag) {
        Transfer(sourcePane, *sourceTag, destinationPane, *destinationTag);
    }
}

void EditTool::OnDropTransfer(int sourcePane, int destinationPane, ItemTag target) {
    const auto sourceTag = views_.SelectedTag(sourcePane);
    if (sourceTag && sourcePane != destinationPane) {
        Transfer(sourcePane, *sourceTag, destinationPane, target);
    }
}

bool EditTool::WouldAcceptDrop(int sourcePane, int destinationPane, ItemTag target) const {
    const auto sourceTag = views_.SelectedTag(sourcePane);
    if (!sourceTag || sourcePane == destinationPane) {
        return false;
    }
    return MayTransfer(desk_.image(sourcePane), SplitItemTag(*sourceTag),
                       desk_.image(destinationPane), SplitItemTag(target));
}

void EditTool::Transfer(int sourcePane, ItemTag sourceTag, int destinationPane,
                        ItemTag destinationTag) {
    const EditResult copied =
        desk_.At(destinationPane)
            .document.Transfer(desk_.document(sourcePane), SplitItemTag(sourceTag),
                               SplitItemTag(destinationTag));
    if (copied.status == EditStatus::refused) {
        if (!copied.refusal.empty()) {
            prompts_.ShowMessage(copied.refusal, kErrorCaption, Severity::error);
        }
        return;
    }
    desk_.Say(copied.IsDone() ? std::string() : StoppedCopyText(copied));
}

void EditTool::OnDelete(int pane) {
    (void)desk_.At(pane).document.Delete(DecodeSelection(views_.SelectedTag(pane)));
}

void EditTool::OnRename(int pane) {
    const Item selected = DecodeSelection(views_.SelectedTag(pane));
    if (!CanRename(selected)) {
        prompts_.ShowMessage(kOnlyBanksRefusal, kKorvelCaption, Severity::notice);
        return;
    }
    const std::string shown = VisibleBankText(desk_.image(pane).GetBankName(selected.bank));
    if (const auto answer = dialogs_.RunRenameDialog(shown)) {
        // A text nobody edited goes back exactly as it was, whatever the dialog made of it.
        (void)desk_.At(pane).document.Rename(selected, answer->edited ? answer->text : shown);
    }
}

void EditTool::OnMemLayout(int pane) {
    if (const auto choice = dialogs_.RunLayoutDialog(desk_.image(pane).Layout().Choice())) {
        ApplyLayoutChoice(pane, *choice);
    }
}

void EditTool::ApplyLayoutChoice(int pane, int choice) {
    // The tree is built anew all the same.
    desk_.At(pane).document.SetLayout(
        MemoryLayout::FromChoice(choice).value_or(desk_.image(pane).Layout()));
}

void EditTool::UndoOrRedo(int pane, bool undo) {
    Document& document = desk_.At(pane).document;
    if (const HistoryStep* step = undo ? document.Undo() : document.Redo()) {
        desk_.Say((undo ? "Undid " : "Redid ") + step->label);
    }
}

std::string EditTool::UndoText(int pane) const {
    const HistoryStep* step = desk_.document(pane).Steps().NextUndo();
    return step != nullptr ? "Undo " + step->label : std::string();
}

std::string EditTool::RedoText(int pane) const {
    const HistoryStep* step = desk_.document(pane).Steps().NextRedo();
    return step != nullptr ? "Redo " + step->label : std::string();
}

}  // namespace korvel::ui

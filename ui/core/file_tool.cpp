#include "file_tool.h"

#include "load_report.h"
#include "paths.h"

#include "messages.h"

namespace korvel::ui {

bool FileTool::MayEnd() {
    const bool left = desk_.IsChanged(kLeftPane);
    const bool right = desk_.IsChanged(kRightPane);
    if (!left && !right) {
        return true;
    }
    const std::string which = left && right ? "The left and the right dump have"
                              : left        ? "The left dump has"
                                            : "The right dump has";
    return prompts_.AskYesNo(which + " unsaved changes.\nEnd Korvel and discard them?",
                             kKorvelCaption);
}

bool FileTool::MayDiscard(int pane) {
    if (!desk_.IsChanged(pane)) {
        return true;
    }
    return prompts_.AskYesNo(
        std::string("The ") + PaneName(pane) + " dump has unsaved changes.\nDiscard them?",
        kKorvelCaption);
}

void FileTool::OnOpen(int pane) {
    if (!MayDiscard(pane)) {
        return;
    }
    if (const auto path = services_.ChooseOpenFile(pane, desk_.pane(pane).folder)) {
        OpenFile(pane, *path, false);
    }
}

// Paths from outside may be relative to the working folder; the pane remembers where the file
// really lies, so that the next Open and the settings start there.
void FileTool::OpenAtStart(int pane, const std::string& path) {
    OpenFile(pane, AbsolutePathOf(path), true);
}

void FileTool::OnOpenNamed(int pane, const std::string& path) {
    if (MayDiscard(pane)) {
        OpenFile(pane, AbsolutePathOf(path), true);
    }
}

void FileTool::OpenFile(int pane, const std::string& path, bool sayWhyNot) {
    Pane& target = desk_.At(pane);
    const OpenResult opened = target.document.Open(path);
    const LoadResult& loaded = opened.loaded;
    if (loaded.status == LoadStatus::cannotOpen || loaded.status == LoadStatus::notRegular) {
        // The chooser offered the file, so its failure needs no message; a file named from
        // outside does.
        if (sayWhyNot) {
            desk_.Say(loaded.message);
        }
        return;
    }
    if (loaded.status == LoadStatus::noMemory) {
        prompts_.ShowMessage(loaded.message, kErrorCaption, Severity::error);
        return;
    }
    if (!loaded.ok()) {
        prompts_.ShowMessage(loaded.message, kReadErrorCaption, Severity::error);
        return;
    }
    target.folder = FolderOf(path);
    target.saveFolder = target.folder;
    target.recent.Add(path);
    if (!opened.names) {
        prompts_.ShowMessage(opened.names.reason(), kKorvelCaption, Severity::error);
    }
    desk_.Say(SkippedSummary(loaded.report));
}

void FileTool::OnSave(int pane) {
    Pane& target = desk_.At(pane);
    const std::string shownName = target.document.FileName();
    const auto path = services_.ChooseSaveFile(
        pane, target.saveFolder, shownName.empty() ? target.document.ProposedName() : shownName);
    if (!path) {
        return;
    }
    const DumpSaveResult saved = target.document.Save(*path);
    if (!saved.dump.ok()) {
        prompts_.ShowMessage(
            "The dump could not be saved as\n" + *path + "\n\n" + saved.dump.reason(),
            kErrorCaption, Severity::error);
        return;
    }
    target.saveFolder = FolderOf(*path);
    target.recent.Add(*path);
    const std::string fileName = target.document.FileName();
    if (saved.sideFileUnread) {
        desk_.Say("Saved " + fileName +
                  ", but its bank names are not saved: " + saved.names.reason());
    } else if (!saved.names.ok()) {
        desk_.Say("Saved " + fileName +
                  ", but its bank names are not saved: they could not be written to " +
                  FileNameOf(saved.sideFile) + ": " + saved.names.reason());
    } else {
        desk_.Say("Saved " + fileName);
    }
}

void FileTool::OnNew(int pane) {
    if (MayDiscard(pane)) {
        desk_.At(pane).document.New();
    }
}

}  // namespace korvel::ui

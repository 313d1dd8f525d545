// The file commands of a pane: Open, Open Recent, files named from outside, Save and New, and
// the question before unsaved changes are thrown away.
#pragma once

#include "host.h"
#include "pane.h"
#include "recent_files.h"

#include <string>
#include <vector>

namespace korvel::ui {

class FileTool {
  public:
    FileTool(Desk& desk, Prompts& prompts, FileServices& services)
        : desk_(desk), prompts_(prompts), services_(services) {}

    void OnOpen(int pane);
    // A file named on the command line: opened as Open does, with the reason in the status
    // line when it cannot be.
    void OpenAtStart(int pane, const std::string& path);
    // A file dropped onto the pane, or chosen from one of its menus (Open Recent, Backups): the
    // unsaved-changes question, then as OpenAtStart.
    void OnOpenNamed(int pane, const std::string& path);
    std::vector<RecentEntry> RecentMenu(int pane) const {
        return desk_.pane(pane).recent.Entries();
    }
    void OnSave(int pane);
    void OnNew(int pane);

    // True when the pane's image may be thrown away: unchanged, or the user said so.
    bool MayDiscard(int pane);
    // Asks, when a pane holds unsaved changes, whether to end anyway; true to end.
    bool MayEnd();

  private:
    void OpenFile(int pane, const std::string& path, bool sayWhyNot);

    Desk& desk_;
    Prompts& prompts_;
    FileServices& services_;
};

}  // namespace korvel::ui

// The two-pane main dialog's commands, without widgets: each command asks the host what it
// needs, runs one model operation on a pane's image and tells the host how its tree changed.
#pragma once

#include "comparison.h"
#include "document.h"
#include "dump_image.h"

#include "dump_tree.h"
#include "host.h"
#include "receive_run.h"
#include "recent_files.h"
#include "settings.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace korvel::ui {

inline constexpr int kLeftPane = 0;
inline constexpr int kRightPane = 1;

// One pane: the document it shows, the tree drawn from it and where its file choosers start.
struct Pane {
    Document document;
    Forest tree;
    std::string folder;      // where Open starts; changed only by a successful Open
    std::string saveFolder;  // where Save starts: the folder last opened or saved in
    RecentFiles recent;      // what was last opened or saved here
};

class MainDialog {
  public:
    explicit MainDialog(Host& host) : MainDialog(host, host, host) {}
    MainDialog(Host& host, DumpLoader loader);
    MainDialog(Prompts& prompts, PaneViews& views, Services& services);
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // Reads the settings, applies the stored layouts and builds both trees.
    void Start(SettingsStore& settings);
    // Asks, when a pane holds unsaved changes, whether to end anyway; true to end.
    bool MayEnd();
    // Writes the settings.
    void End(SettingsStore& settings);

    void OnOpen(int pane);
    // A file named on the command line: opened as Open does, with the reason in the status
    // line when it cannot be.
    void OpenAtStart(int pane, const std::string& path);
    // A file dropped onto the pane: the unsaved-changes question, then as OpenAtStart.
    void OnDropFile(int pane, const std::string& path);
    // A dump of the pane's Open Recent menu: the unsaved-changes question, then as OpenAtStart.
    void OnOpenRecent(int pane, const std::string& path);
    std::vector<RecentEntry> RecentMenu(int pane) const {
        return this->pane(pane).recent.Entries();
    }
    void OnSave(int pane);
    void OnNew(int pane);
    void OnDelete(int pane);
    void OnRename(int pane);
    void OnMemLayout(int pane);
    void OnTransfer(int sourcePane, int destinationPane);
    // The source pane's selected node dragged onto `target` of the other pane: the transfer
    // onto that node, with the refusals and the undo step of OnTransfer.
    void OnDropTransfer(int sourcePane, int destinationPane, ItemTag target);
    // True when such a drop would copy: the node under the pointer is then highlighted.
    bool WouldAcceptDrop(int sourcePane, int destinationPane, ItemTag target) const;
    void OnUndo(int pane);
    void OnRedo(int pane);
    void OnReceive(int pane);
    // Sends the pane's dump; once every message is out, offers to check what the W2 holds.
    void OnSend(int pane);
    // Receives what the W2 holds and says which of the pane's messages did not come back as
    // they are here; the pane stays as it was.
    void OnCheck(int pane);
    void OnMidiSetup();
    // Comparing the two dumps, on or off for the window: each tree's nodes carry their marks.
    void OnCompare(bool on);
    bool IsComparing() const { return comparison_.has_value(); }
    // F8 and Shift+F8: the next or previous pattern or playlist set, from the selection on and
    // round the end, whose mark says it is not the same in the other dump.
    void OnNextDifference(int pane, bool forward);

    const MidiSettings& midiSettings() const { return midi_; }

    // Edited since it was opened, created or saved, and not undone back to that point.
    bool IsChanged(int pane) const { return document(pane).IsModified(); }
    // The tooltips of Undo and Redo ("Undo copy of B01 T03 into B04 T01"); empty when there is
    // no step.
    std::string UndoText(int pane) const;
    std::string RedoText(int pane) const;

    const Pane& pane(int index) const { return panes_[static_cast<std::size_t>(index)]; }
    const Document& document(int index) const { return pane(index).document; }
    const DumpImage& image(int index) const { return document(index).Image(); }
    const Forest& tree(int index) const { return pane(index).tree; }

  private:
    Pane& At(int index) { return panes_[static_cast<std::size_t>(index)]; }
    // True when the pane's image may be thrown away: unchanged, or the user said so.
    bool MayDiscard(int pane);
    void OpenFile(int pane, const std::string& path, bool sayWhyNot);
    void Transfer(int sourcePane, ItemTag sourceTag, int destinationPane, ItemTag destinationTag);
    void Listen(int pane);
    // Brings the pane's view up to date with what its document reported.
    void Show(int pane, const DocumentEvent& event);
    // The choice of the settings and the Memory Layout dialog (0, 1, 2) as the pane's layout.
    void ApplyLayoutChoice(int pane, int choice);
    void RebuildTree(int pane);
    void RefreshTree(int pane, TextRule texts);
    // While comparing: the comparison anew after a change of either dump.
    void Recompare();
    // This pane's side of the comparison, or null when not comparing.
    std::optional<ComparedSide> SideOf(int pane) const;
    // The status line: the command's own words, and while comparing what differs.
    void Say(const std::string& text);
    void UndoOrRedo(int pane, bool undo);
    // Writes what a receive kept to the backup folder; the path, or "" after saying why not.
    // `inPane`: what came also stands in a pane, from where it can be saved.
    std::string BackUpReceived(const midi::ReceiveSession& session, const std::string& stamp,
                               bool inPane);
    struct Received {
        const midi::ReceiveSession& session;
        std::string stamp;   // when it came, as "2026-12-08 21-05-33"
        std::string backup;  // where all that came is kept; empty when it could not be
    };
    // The receive dialog on `run`, then the backup of what came; nullopt when nothing came.
    std::optional<Received> ReceiveFromW2(ReceiveRun& run, ReceivePurpose purpose);

    Prompts& prompts_;
    PaneViews& views_;
    Services& services_;
    std::array<Pane, 2> panes_;
    std::optional<Comparison> comparison_;
    MidiSettings midi_;
};

}  // namespace korvel::ui

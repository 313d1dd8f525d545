// The two-pane main dialog's commands, without widgets: each command asks the host what it
// needs, runs one model operation on a pane's image and tells the host how its tree changed.
#pragma once

#include "dump_image.h"

#include "dump_tree.h"
#include "history.h"
#include "host.h"
#include "settings.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace korvel::ui {

inline constexpr int kLeftPane = 0;
inline constexpr int kRightPane = 1;

struct Pane {
    std::unique_ptr<DumpImage> image = std::make_unique<DumpImage>();
    Forest tree;
    std::string fileName;      // the name shown above the tree, without its folder
    std::string folder;        // where Open starts; changed only by a successful Open
    std::string lastFile;      // full path last opened or saved here, where Save starts
    std::string proposedName;  // what Save proposes for a dump that has no file name yet
    History history;           // says too whether the image changed since it was last saved
};

// Reads a dump file into a fresh image; replaceable so that tests can stage read failures.
using DumpLoader = std::function<LoadResult(DumpImage&, const std::string&)>;

class MainDialog {
  public:
    explicit MainDialog(Host& host) : host_(host) {}
    MainDialog(Host& host, DumpLoader loader) : host_(host), loader_(std::move(loader)) {}

    // Reads the settings, applies the stored layouts and builds both trees.
    void Start(SettingsStore& settings);
    // Asks, when a pane holds unsaved changes, whether to end anyway; true to end.
    bool MayEnd();
    // Writes the settings and frees both images, left first.
    void End(SettingsStore& settings);

    void OnOpen(int pane);
    // A file named on the command line: opened as Open does, with the reason in the status
    // line when it cannot be.
    void OpenAtStart(int pane, const std::string& path);
    // A file dropped onto the pane: the unsaved-changes question, then as OpenAtStart.
    void OnDropFile(int pane, const std::string& path);
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
    void OnSend(int pane);
    void OnMidiSetup();

    const MidiSettings& midiSettings() const { return midi_; }

    // Edited since it was opened, created or saved, and not undone back to that point.
    bool IsChanged(int pane) const { return this->pane(pane).history.IsChanged(); }
    // The tooltips of Undo and Redo ("Undo copy of B01 T03 into B04 T01"); empty when there is
    // no step.
    std::string UndoText(int pane) const;
    std::string RedoText(int pane) const;

    const Pane& pane(int index) const { return panes_[static_cast<std::size_t>(index)]; }
    const DumpImage& image(int index) const { return *pane(index).image; }
    const Forest& tree(int index) const { return pane(index).tree; }

  private:
    Pane& At(int index) { return panes_[static_cast<std::size_t>(index)]; }
    // True when the pane's image may be thrown away: unchanged, or the user said so.
    bool MayDiscard(int pane);
    void OpenFile(int pane, const std::string& path, bool sayWhyNot);
    void Transfer(int sourcePane, ItemTag sourceTag, int destinationPane, ItemTag destinationTag);
    void RebuildTree(int pane);
    void RefreshTree(int pane, TextRule texts = TextRule::keepShown);
    // Adds the edit's change to the pane's history as one step, when it changed anything.
    void Record(int pane, std::string label, ImageChange change);
    void UndoOrRedo(int pane, bool undo);
    // Writes what a receive kept to the backup folder; the status line or an error says where.
    std::string BackUpReceived(const ReceiveRun& run, const std::string& stamp);

    Host& host_;
    DumpLoader loader_ = [](DumpImage& image, const std::string& path) {
        return image.LoadFile(path);
    };
    std::array<Pane, 2> panes_;
    MidiSettings midi_;
};

}  // namespace korvel::ui

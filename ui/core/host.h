// What the window's tools need from the window: questions and messages, what a pane view
// shows, and the services of each tool (files, the edit dialogs, the W2 link). Each tool takes
// only the parts it uses. The toolkit layer implements them; tests fake them with scripted
// answers.
#pragma once

#include "dump_tree.h"
#include "item_tag.h"
#include "settings.h"

#include "midi_clock.h"
#include "midi_port.h"
#include "send_session.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel::ui {

class ReceiveRun;

// What a receive is for: a dump for a pane, a check of what the W2 holds, or the backup of
// the W2's memory before a send replaces it.
enum class ReceivePurpose { receive, check, backup };

// The receive dialog's title for each purpose.
inline const char* ReceiveDialogTitle(ReceivePurpose purpose) {
    return purpose == ReceivePurpose::check    ? "Check the W2"
           : purpose == ReceivePurpose::backup ? "Back up the W2"
                                               : "Receive from W2";
}

// An error carries the warning icon; a notice the information icon.
enum class Severity { notice, error };

class Prompts {
  public:
    virtual ~Prompts() = default;
    // A modal message with an OK button only.
    virtual void ShowMessage(const std::string& text, const std::string& caption,
                             Severity severity) = 0;
    // A modal Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // A question whose buttons are the proceed button, named `proceedLabel`, and the one that
    // does nothing, named `cancelLabel`; true to proceed.
    virtual bool AskToProceed(const std::string& text, const std::string& caption,
                              const std::string& proceedLabel, const std::string& cancelLabel) = 0;
    // The same question with a check box named `checkLabel`, preset to `checked`: the box's
    // state when the user proceeds, nullopt when not.
    virtual std::optional<bool> AskToProceedWith(const std::string& text,
                                                 const std::string& caption,
                                                 const std::string& proceedLabel,
                                                 const std::string& cancelLabel,
                                                 const std::string& checkLabel, bool checked) = 0;
};

class PaneViews {
  public:
    virtual ~PaneViews() = default;
    // The tag of the pane's selected node, nullopt when none is selected.
    virtual std::optional<ItemTag> SelectedTag(int pane) = 0;
    virtual void ShowStatus(const std::string& line) = 0;
    virtual void ShowFileName(int pane, const std::string& name) = 0;
    // Whether the pane's dump has changes that are not saved; shown beside its name.
    virtual void ShowUnsaved(int pane, bool unsaved) = 0;
    // The pane's forest was built anew, or some of its nodes changed.
    virtual void TreeRebuilt(int pane) = 0;
    virtual void TreeRefreshed(int pane, const std::vector<NodeChange>& changes) = 0;
    // The pane's history gained, lost or moved over a step: Undo and Redo may change.
    virtual void HistoryChanged(int pane) = 0;
    // Comparing was turned on or off: the trees show or hide their marks.
    virtual void ComparingChanged(bool on) = 0;
    // Selects the node, opening what is closed above it.
    virtual void SelectNode(int pane, const NodePath& path) = 0;
};

struct RenameAnswer {
    std::string text;
    bool edited = true;
};

// What the file commands use.
class FileServices {
  public:
    virtual ~FileServices() = default;
    // File choosers; nullopt when the user cancels. The save chooser asks before it replaces
    // an existing file.
    virtual std::optional<std::string> ChooseOpenFile(int pane, const std::string& folder) = 0;
    virtual std::optional<std::string> ChooseSaveFile(int pane, const std::string& folder,
                                                      const std::string& proposedName) = 0;
};

// The dialogs of the edits.
class EditDialogs {
  public:
    virtual ~EditDialogs() = default;
    // The Memory Layout dialog: the choice (0, 1, 2, or -1 for none) after OK, nullopt after
    // Cancel.
    virtual std::optional<int> RunLayoutDialog(int choice) = 0;
    // The Rename dialog, preset to `text`: after OK the text as typed and whether it was
    // edited at all; nullopt when it was closed any other way.
    virtual std::optional<RenameAnswer> RunRenameDialog(const std::string& text) = 0;
    // The About box: the program's name, version and licence.
    virtual void ShowAbout() = 0;
};

// What the W2 link uses: MIDI, its dialogs, and the folder of backups.
class W2Services {
  public:
    virtual ~W2Services() = default;
    // The system's ports and the clock the sessions run on.
    virtual midi::MidiSystem& Midi() = 0;
    virtual midi::Clock& MidiClock() = 0;
    // The receive dialog ("Receive from W2", "Check the W2" or "Back up the W2"): lets the user
    // pick the input port (`preselected` first) and polls the receive until it ends by itself
    // or by Done or Cancel.
    virtual void RunReceiveDialog(ReceiveRun& run, const midi::MidiPortList& ports,
                                  const std::string& preselected, ReceivePurpose purpose) = 0;
    // The send's progress dialog: steps the send until it ends; Cancel takes effect between
    // two messages.
    virtual void RunSendDialog(midi::SendSession& session, const std::string& port) = 0;
    // "MIDI Setup": the settings after OK, nullopt after Cancel.
    virtual std::optional<MidiSettings> RunMidiSetup(const MidiSettings& settings,
                                                     const midi::MidiPortList& ports) = 0;
    // Where received dumps are backed up ("" when there is no such folder), and the local date
    // and time to name them by, as "2026-12-08 21-05-33".
    virtual std::string ReceivedFolder() = 0;
    virtual std::string LocalTimeStamp() = 0;
    // Opens the folder in the system's file manager; false when it would not.
    virtual bool ShowFolder(const std::string& folder) = 0;
};

class Services : public FileServices, public EditDialogs, public W2Services {};

// All three in one, as a window or a test's fake provides them.
class Host : public Prompts, public PaneViews, public Services {};

}  // namespace korvel::ui

// The core's host in the browser: each question, dialog and view update goes to the page, and
// the receive and send dialogs poll their session between the page's ticks.
#pragma once

#include "host.h"

#include "web_midi.h"

namespace korvel::ui {
class Workbench;
}

namespace korvel::web {

class WebHost : public ui::Host {
  public:
    // The workbench whose trees and steps the views show, once it is made.
    void Show(const ui::Workbench* bench) { bench_ = bench; }
    WebMidiSystem& WebMidi() { return midi_; }

    // Prompts
    void ShowMessage(const std::string& text, const std::string& caption,
                     ui::Severity severity) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    bool AskToProceed(const std::string& text, const std::string& caption,
                      const std::string& proceedLabel, const std::string& cancelLabel) override;
    std::optional<bool> AskToProceedWith(const std::string& text, const std::string& caption,
                                         const std::string& proceedLabel,
                                         const std::string& cancelLabel,
                                         const std::string& checkLabel, bool checked) override;

    // PaneViews
    std::optional<ui::ItemTag> SelectedTag(int pane) override;
    void ShowStatus(const std::string& line) override;
    void ShowFileName(int pane, const std::string& name) override;
    void ShowUnsaved(int pane, bool unsaved) override;
    void TreeRebuilt(int pane) override;
    void TreeRefreshed(int pane, const std::vector<ui::NodeChange>& changes) override;
    void HistoryChanged(int pane) override;
    void ComparingChanged(bool on) override;
    void SelectNode(int pane, const ui::NodePath& path) override;

    // FileServices
    std::optional<std::string> ChooseOpenFile(int pane, const std::string& folder) override;
    std::optional<std::string> ChooseSaveFile(int pane, const std::string& folder,
                                              const std::string& proposedName) override;

    // EditDialogs
    std::optional<int> RunLayoutDialog(int choice) override;
    std::optional<ui::RenameAnswer> RunRenameDialog(const std::string& text) override;
    void ShowAbout() override;

    // W2Services
    midi::MidiSystem& Midi() override { return midi_; }
    midi::Clock& MidiClock() override { return clock_; }
    void RunReceiveDialog(ui::ReceiveRun& run, const midi::MidiPortList& ports,
                          const std::string& preselected, ui::ReceivePurpose purpose) override;
    void RunSendDialog(midi::SendSession& session, const std::string& port) override;
    std::optional<ui::MidiSettings> RunMidiSetup(const ui::MidiSettings& settings,
                                                 const midi::MidiPortList& ports) override;
    std::string ReceivedFolder() override;
    std::string LocalTimeStamp() override;
    bool ShowFolder(const std::string& folder) override;

  private:
    const ui::Workbench* bench_ = nullptr;
    WebMidiSystem midi_;
    midi::SteadyClock clock_;
};

}  // namespace korvel::web

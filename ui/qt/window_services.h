// The services the core's tools use, as the window provides them: the file choosers, the
// Memory Layout and Rename dialogs, and the W2 link's MIDI ports, dialogs and folders.
#pragma once

#include "host.h"

#include "file_chooser.h"

#include <memory>

class QWidget;

namespace korvel::qt {

class WindowServices : public ui::Services {
  public:
    explicit WindowServices(QWidget* parent) : parent_(parent) {}
    ~WindowServices() override;

    void SetFileChooser(std::unique_ptr<FileChooser> chooser) { fileChooser_ = std::move(chooser); }
    // The MIDI ports are opened on first use; tests put a system of their own in first.
    void SetMidiSystem(std::unique_ptr<midi::MidiSystem> midi) { midi_ = std::move(midi); }

    // FileServices
    std::optional<std::string> ChooseOpenFile(int pane, const std::string& folder) override;
    std::optional<std::string> ChooseSaveFile(int pane, const std::string& folder,
                                              const std::string& proposedName) override;
    // EditDialogs
    std::optional<int> RunLayoutDialog(int choice) override;
    std::optional<ui::RenameAnswer> RunRenameDialog(const std::string& text) override;
    void ShowAbout() override;
    // W2Services
    midi::MidiSystem& Midi() override;
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
    QWidget* parent_;
    std::unique_ptr<FileChooser> fileChooser_ = std::make_unique<DialogFileChooser>();
    std::unique_ptr<midi::MidiSystem> midi_;
    midi::SteadyClock clock_;
};

}  // namespace korvel::qt

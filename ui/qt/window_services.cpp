#include "window_services.h"

#include "backups.h"

#include "open_system.h"

#include "layout_dialog.h"
#include "about_dialog.h"
#include "midi_setup_dialog.h"
#include "receive_dialog.h"
#include "rename_dialog.h"
#include "send_dialog.h"
#include "text_codec.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include <ctime>

namespace korvel::qt {

WindowServices::~WindowServices() = default;

std::optional<std::string> WindowServices::ChooseOpenFile(int, const std::string& folder) {
    const auto path = fileChooser_->ChooseOpen(parent_, FromPath(folder));
    return path ? std::optional(ToPath(*path)) : std::nullopt;
}

std::optional<std::string> WindowServices::ChooseSaveFile(int, const std::string& folder,
                                                          const std::string& proposedName) {
    const auto path = fileChooser_->ChooseSave(parent_, FromPath(folder), FromPath(proposedName));
    return path ? std::optional(ToPath(*path)) : std::nullopt;
}

std::optional<int> WindowServices::RunLayoutDialog(int choice) {
    return LayoutDialog::Ask(parent_, choice);
}

std::optional<ui::RenameAnswer> WindowServices::RunRenameDialog(const std::string& text) {
    const QString shown = ToDisplay(text);
    const auto typed = RenameDialog::Ask(parent_, shown);
    if (!typed) {
        return std::nullopt;
    }
    return ui::RenameAnswer{ToStored(*typed), *typed != shown};
}

void WindowServices::ShowAbout() {
    AboutDialog about(parent_);
    about.exec();
}

midi::MidiSystem& WindowServices::Midi() {
    if (!midi_) {
        midi_ = midi::OpenSystem("Korvel");
    }
    return *midi_;
}

void WindowServices::RunReceiveDialog(ui::ReceiveRun& run, const midi::MidiPortList& ports,
                                      const std::string& preselected, ui::ReceivePurpose purpose) {
    ReceiveDialog dialog(run, ports, preselected, parent_);
    dialog.setWindowTitle(ToDisplay(ui::ReceiveDialogTitle(purpose)));
    dialog.exec();
}

void WindowServices::RunSendDialog(midi::SendSession& session, const std::string&) {
    SendDialog dialog(session, clock_, parent_);
    dialog.exec();
}

std::optional<ui::MidiSettings> WindowServices::RunMidiSetup(const ui::MidiSettings& settings,
                                                             const midi::MidiPortList& ports) {
    return MidiSetupDialog::Ask(parent_, settings, ports, [this] { return Midi().ListPorts(); });
}

std::string WindowServices::ReceivedFolder() {
    return DefaultBackupFolder();
}

std::string WindowServices::LocalTimeStamp() {
    return BackupStamp(std::time(nullptr));
}

bool WindowServices::ShowFolder(const std::string& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(folder)));
}

}  // namespace korvel::qt

// The window's part in the MIDI commands: the system's ports, and the dialogs of a receive, a
// send and the MIDI set-up, all driven by the core's sessions.
#include "main_window.h"

#include "rtmidi_system.h"

#include "midi_setup_dialog.h"
#include "receive_dialog.h"
#include "send_dialog.h"
#include "text_codec.h"

#include <QDateTime>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace korvel::qt {

bool MainWindow::AskToProceed(const std::string& text, const std::string& caption,
                              const std::string& proceedLabel, const std::string& cancelLabel) {
    QMessageBox box(QMessageBox::Question, ToDisplay(caption), ToDisplay(text),
                    QMessageBox::NoButton, this);
    box.addButton(ToDisplay(cancelLabel), QMessageBox::RejectRole);
    QPushButton* proceed = box.addButton(ToDisplay(proceedLabel), QMessageBox::AcceptRole);
    box.setDefaultButton(proceed);
    box.exec();
    return box.clickedButton() == proceed;
}

void MainWindow::SetMidiSystem(std::unique_ptr<midi::MidiSystem> midi) {
    midi_ = std::move(midi);
}

midi::MidiSystem& MainWindow::Midi() {
    if (!midi_) {
        midi_ = std::make_unique<midi::RtMidiSystem>("Korvel");
    }
    return *midi_;
}

void MainWindow::RunReceiveDialog(ui::ReceiveRun& run, const midi::MidiPortList& ports,
                                  const std::string& preselected, ui::ReceivePurpose purpose) {
    ReceiveDialog dialog(
        run, ports, preselected,
        [this] {
            core_.OnMidiSetup();
            return core_.midiSettings().inputPort;
        },
        [this] { return Midi().ListPorts(); }, this);
    if (purpose == ui::ReceivePurpose::check) {
        dialog.setWindowTitle(tr("Check the W2"));
    }
    dialog.exec();
}

void MainWindow::RunSendDialog(midi::SendSession& session, const std::string&) {
    SendDialog dialog(session, clock_, this);
    dialog.exec();
}

std::optional<ui::MidiSettings> MainWindow::RunMidiSetup(const ui::MidiSettings& settings,
                                                         const midi::MidiPortList& ports) {
    MidiSetupDialog dialog(
        ports, [this] { return Midi().ListPorts(); }, this);
    dialog.settings = settings;
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.settings;
}

std::string MainWindow::ReceivedFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? std::string() : ToPath(folder + QStringLiteral("/received"));
}

std::string MainWindow::LocalTimeStamp() {
    return QDateTime::currentDateTime()
        .toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"))
        .toStdString();
}

}  // namespace korvel::qt

#include "midi_setup_dialog.h"

#include "midi_limits.h"

#include "port_list.h"
#include "ui_midi_setup_dialog.h"

#include <QPushButton>

namespace korvel::qt {

MidiSetupDialog::MidiSetupDialog(const midi::MidiPortList& ports, PortLister listPorts,
                                 QWidget* parent)
    : QDialog(parent),
      ui_(new Ui::MidiSetupDialog),
      ports_(ports),
      listPorts_(std::move(listPorts)) {
    ui_->setupUi(this);
    connect(ui_->refreshInputs, &QPushButton::clicked, this, [this] {
        ports_ = listPorts_();
        RefillPortList(ui_->inputList, ports_.inputs);
    });
    connect(ui_->refreshOutputs, &QPushButton::clicked, this, [this] {
        ports_ = listPorts_();
        RefillPortList(ui_->outputList, ports_.outputs);
    });
    ui_->pauseSpin->setRange(midi::kMinMessagePauseMs, midi::kMaxMessagePauseMs);
    ui_->idleSpin->setRange(midi::kMinReceiveIdleMs, midi::kMaxReceiveIdleMs);
}

MidiSetupDialog::~MidiSetupDialog() = default;

int MidiSetupDialog::exec() {
    FillPortList(ui_->inputList, ui::MakePortChoices(ports_.inputs, settings.inputPort));
    FillPortList(ui_->outputList, ui::MakePortChoices(ports_.outputs, settings.outputPort));
    ui_->pauseSpin->setValue(settings.pauseMs);
    ui_->idleSpin->setValue(settings.idleMs);
    ui_->apiLine->setText(ports_.api.empty()
                              ? tr("No MIDI system was found.")
                              : tr("MIDI system: %1").arg(QString::fromStdString(ports_.api)));
    return QDialog::exec();
}

void MidiSetupDialog::done(int result) {
    if (result == QDialog::Accepted) {
        settings.inputPort = ChosenPort(ui_->inputList);
        settings.outputPort = ChosenPort(ui_->outputList);
        settings.pauseMs = ui_->pauseSpin->value();
        settings.idleMs = ui_->idleSpin->value();
    }
    QDialog::done(result);
}

}  // namespace korvel::qt

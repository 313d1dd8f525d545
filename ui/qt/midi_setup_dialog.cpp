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

std::optional<ui::MidiSettings> MidiSetupDialog::Ask(QWidget* parent,
                                                     const ui::MidiSettings& initial,
                                                     const midi::MidiPortList& ports,
                                                     PortLister listPorts) {
    MidiSetupDialog dialog(ports, std::move(listPorts), parent);
    Ui::MidiSetupDialog& ui = *dialog.ui_;
    FillPortList(ui.inputList, ui::MakePortChoices(ports.inputs, initial.inputPort));
    FillPortList(ui.outputList, ui::MakePortChoices(ports.outputs, initial.outputPort));
    ui.pauseSpin->setValue(initial.pauseMs);
    ui.idleSpin->setValue(initial.idleMs);
    ui.apiLine->setText(ports.api.empty()
                            ? tr("No MIDI system was found.")
                            : tr("MIDI system: %1").arg(QString::fromStdString(ports.api)));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Chosen();
}

ui::MidiSettings MidiSetupDialog::Chosen() const {
    ui::MidiSettings chosen;
    chosen.inputPort = ChosenPort(ui_->inputList);
    chosen.outputPort = ChosenPort(ui_->outputList);
    chosen.pauseMs = ui_->pauseSpin->value();
    chosen.idleMs = ui_->idleSpin->value();
    return chosen;
}

}  // namespace korvel::qt

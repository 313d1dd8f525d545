// "MIDI Setup": the input and output port, the pause between sent messages and the pause that
// ends a receive.
#pragma once

#include "midi_clock.h"
#include "midi_port.h"
#include "settings.h"

#include "port_list.h"

#include <QDialog>

#include <memory>

namespace Ui {
class MidiSetupDialog;
}

namespace korvel::qt {

class MidiSetupDialog : public QDialog {
  public:
    MidiSetupDialog(const midi::MidiPortList& ports, PortLister listPorts,
                    QWidget* parent = nullptr);
    ~MidiSetupDialog() override;

    // Set before exec(), read after OK.
    ui::MidiSettings settings;

    int exec() override;

  private:
    void done(int result) override;

    std::unique_ptr<Ui::MidiSetupDialog> ui_;
    midi::MidiPortList ports_;
    PortLister listPorts_;
};

}  // namespace korvel::qt

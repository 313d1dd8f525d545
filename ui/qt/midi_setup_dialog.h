// "MIDI Setup": the input and output port, the pause between sent messages and the pause that
// ends a receive.
#pragma once

#include "midi_clock.h"
#include "midi_port.h"
#include "settings.h"

#include "port_list.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class MidiSetupDialog;
}

namespace korvel::qt {

class MidiSetupDialog : public QDialog {
  public:
    // The settings after OK, starting from `initial` on the ports of `ports` (Refresh asks
    // `listPorts` again); nullopt after Cancel.
    static std::optional<ui::MidiSettings> Ask(QWidget* parent, const ui::MidiSettings& initial,
                                               const midi::MidiPortList& ports,
                                               PortLister listPorts);

  private:
    MidiSetupDialog(const midi::MidiPortList& ports, PortLister listPorts, QWidget* parent);
    ~MidiSetupDialog() override;
    ui::MidiSettings Chosen() const;

    std::unique_ptr<Ui::MidiSetupDialog> ui_;
    midi::MidiPortList ports_;
    PortLister listPorts_;
};

}  // namespace korvel::qt

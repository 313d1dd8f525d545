// "Receive from W2": the input port, what to do at the W2, and what has arrived so far, live.
// A timer polls the core's receive; the dialog closes when it ends by itself, on Done or Cancel.
#pragma once

#include "midi_clock.h"
#include "midi_port.h"
#include "receive_run.h"

#include "port_list.h"

#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

class QPushButton;

namespace Ui {
class ReceiveDialog;
}

namespace korvel::qt {

class ReceiveDialog : public QDialog {
  public:
    // `setUp` runs the MIDI Setup and gives back the port now chosen for receiving.
    ReceiveDialog(ui::ReceiveRun& run, const midi::MidiPortList& ports,
                  const std::string& preselected, std::function<std::string()> setUp,
                  PortLister listPorts, QWidget* parent = nullptr);
    ~ReceiveDialog() override;

    // Escape and the close box cancel; what came is still kept.
    void reject() override;

  private:
    void Listen(const std::string& port);
    void Tick();

    std::unique_ptr<Ui::ReceiveDialog> ui_;
    ui::ReceiveRun& run_;
    midi::MidiPortList ports_;
    std::function<std::string()> setUp_;
    PortLister listPorts_;
    QPushButton* done_ = nullptr;
    QTimer timer_;
};

}  // namespace korvel::qt

// "Receive from W2" (and "Check the W2", "Back up the W2"): the input port, what to do at the
// W2, and what has arrived so far, live. A timer polls the core's receive, which also owns the
// port list; the dialog closes when the receive ends by itself, on Done or Cancel.
#pragma once

#include "midi_clock.h"
#include "midi_port.h"
#include "receive_run.h"

#include <QDialog>
#include <QTimer>

#include <memory>
#include <string>

class QPushButton;

namespace Ui {
class ReceiveDialog;
}

namespace korvel::qt {

class ReceiveDialog : public QDialog {
  public:
    ReceiveDialog(ui::ReceiveRun& run, const midi::MidiPortList& ports,
                  const std::string& preselected, QWidget* parent = nullptr);
    ~ReceiveDialog() override;

    // Escape and the close box cancel; what came is still kept.
    void reject() override;

  private:
    // Shows the run's port list and what became of the last choice.
    void ShowPorts(const Outcome& listening);
    void Tick();

    std::unique_ptr<Ui::ReceiveDialog> ui_;
    ui::ReceiveRun& run_;
    QPushButton* done_ = nullptr;
    QTimer timer_;
};

}  // namespace korvel::qt

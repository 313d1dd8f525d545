// The progress of a send: message i of N, bytes sent and the time left, with Cancel. A timer
// steps the core's send at the times it asks for; a cancel takes effect between two messages.
#pragma once

#include "midi_clock.h"
#include "midi_port.h"
#include "send_session.h"

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui {
class SendDialog;
}

namespace korvel::qt {

class SendDialog : public QDialog {
  public:
    SendDialog(midi::SendSession& session, midi::Clock& clock, QWidget* parent = nullptr);
    ~SendDialog() override;

    void reject() override;

  private:
    void Tick();

    std::unique_ptr<Ui::SendDialog> ui_;
    midi::SendSession& session_;
    midi::Clock& clock_;
    QTimer timer_;
};

}  // namespace korvel::qt

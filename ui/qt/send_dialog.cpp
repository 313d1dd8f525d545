#include "send_dialog.h"

#include "text_codec.h"
#include "ui_send_dialog.h"

#include <algorithm>

namespace korvel::qt {

SendDialog::SendDialog(midi::SendSession& session, midi::Clock& clock, QWidget* parent)
    : QDialog(parent), ui_(new Ui::SendDialog), session_(session), clock_(clock) {
    ui_->setupUi(this);
    ui_->progressBar->setMaximum(static_cast<int>(session_.Total()));
    connect(ui_->buttons, &QDialogButtonBox::rejected, this, &SendDialog::reject);
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SendDialog::Tick);
    timer_.start(0);
}

SendDialog::~SendDialog() = default;

void SendDialog::Tick() {
    const midi::Instant wakeUp = session_.WakeUpAfter(session_.Step());
    ui_->progressLine->setText(ToDisplay(session_.ProgressText()));
    ui_->progressBar->setValue(static_cast<int>(session_.Sent()));
    if (session_.MayClosePort(clock_.Now())) {
        accept();
        return;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wakeUp - clock_.Now());
    timer_.start(static_cast<int>(std::clamp<long long>(wait.count(), 0, 1000)));
}

void SendDialog::reject() {
    // Stops before the next message; the dialog closes once the one under way has left.
    session_.Cancel();
    timer_.start(0);
}

}  // namespace korvel::qt

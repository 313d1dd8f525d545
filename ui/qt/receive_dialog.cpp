#include "receive_dialog.h"

#include "midi_limits.h"

#include "port_list.h"
#include "text_codec.h"
#include "ui_receive_dialog.h"

#include <QPushButton>

namespace korvel::qt {

ReceiveDialog::ReceiveDialog(ui::ReceiveRun& run, const midi::MidiPortList& ports,
                             const std::string& preselected, QWidget* parent)
    : QDialog(parent), ui_(new Ui::ReceiveDialog), run_(run) {
    ui_->setupUi(this);
    done_ = ui_->buttons->addButton(tr("Done"), QDialogButtonBox::AcceptRole);
    connect(done_, &QPushButton::clicked, this, [this] {
        run_.Finish();
        accept();
    });
    connect(ui_->buttons, &QDialogButtonBox::rejected, this, &ReceiveDialog::reject);
    connect(ui_->portList, &QComboBox::currentIndexChanged, this,
            [this] { ShowPorts(run_.Choose(ChosenPort(ui_->portList))); });
    connect(ui_->setupButton, &QPushButton::clicked, this, [this] { ShowPorts(run_.SetUp()); });
    connect(ui_->refreshButton, &QPushButton::clicked, this, [this] { ShowPorts(run_.Refresh()); });
    ShowPorts(run_.Offer(ports, preselected));
    connect(&timer_, &QTimer::timeout, this, &ReceiveDialog::Tick);
    timer_.start(static_cast<int>(midi::kDialogPoll.count()));
}

ReceiveDialog::~ReceiveDialog() = default;

void ReceiveDialog::ShowPorts(const Outcome& listening) {
    FillPortList(ui_->portList, run_.Choices());
    ui_->progressLine->setText(ToDisplay(listening.reason()));
}

void ReceiveDialog::Tick() {
    run_.Poll();
    // Once bytes flow the receive stays on its port.
    ui_->portList->setEnabled(run_.MayChangePort());
    ui_->setupButton->setEnabled(run_.MayChangePort());
    ui_->refreshButton->setEnabled(run_.MayChangePort());
    if (run_.IsListening()) {
        ui_->progressLine->setText(ToDisplay(run_.StatusText()));
    }
    if (run_.HasEnded()) {
        timer_.stop();
        accept();
    }
}

void ReceiveDialog::reject() {
    timer_.stop();
    run_.Cancel();
    QDialog::reject();
}

}  // namespace korvel::qt

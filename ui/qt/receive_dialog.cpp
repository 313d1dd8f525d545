#include "receive_dialog.h"

#include "port_list.h"
#include "text_codec.h"
#include "ui_receive_dialog.h"

#include <QPushButton>

namespace korvel::qt {

namespace {

// Often enough that the counts look live and Cancel answers at once.
constexpr int kPollMs = 25;

}  // namespace

ReceiveDialog::ReceiveDialog(ui::ReceiveRun& run, const midi::MidiPortList& ports,
                             const std::string& preselected, std::function<std::string()> setUp,
                             PortLister listPorts, QWidget* parent)
    : QDialog(parent),
      ui_(new Ui::ReceiveDialog),
      run_(run),
      ports_(ports),
      setUp_(std::move(setUp)),
      listPorts_(std::move(listPorts)) {
    ui_->setupUi(this);
    done_ = ui_->buttons->addButton(tr("Done"), QDialogButtonBox::AcceptRole);
    connect(done_, &QPushButton::clicked, this, [this] {
        run_.Finish();
        accept();
    });
    connect(ui_->buttons, &QDialogButtonBox::rejected, this, &ReceiveDialog::reject);
    connect(ui_->portList, &QComboBox::currentIndexChanged, this,
            [this] { Listen(ChosenPort(ui_->portList)); });
    connect(ui_->setupButton, &QPushButton::clicked, this, [this] {
        const std::string port = setUp_();
        FillPortList(ui_->portList, ui::MakePortChoices(ports_.inputs, port));
        Listen(port);
    });
    connect(ui_->refreshButton, &QPushButton::clicked, this, [this] {
        ports_ = listPorts_();
        RefillPortList(ui_->portList, ports_.inputs);
        Listen(ChosenPort(ui_->portList));
    });
    FillPortList(ui_->portList, ui::MakePortChoices(ports_.inputs, preselected));
    Listen(ChosenPort(ui_->portList));
    connect(&timer_, &QTimer::timeout, this, &ReceiveDialog::Tick);
    timer_.start(kPollMs);
}

ReceiveDialog::~ReceiveDialog() = default;

void ReceiveDialog::Listen(const std::string& port) {
    if (port.empty()) {
        return;
    }
    const auto problem = run_.Listen(port);
    ui_->progressLine->setText(problem ? ToDisplay(*problem) : QString());
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

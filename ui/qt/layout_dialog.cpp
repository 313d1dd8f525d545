#include "layout_dialog.h"

#include "ui_layout_dialog.h"

#include <QButtonGroup>

namespace korvel::qt {

LayoutDialog::LayoutDialog(QWidget* parent) : QDialog(parent), ui_(new Ui::LayoutDialog) {
    ui_->setupUi(this);
    // The radio buttons are no tab stops: Tab moves between OK and Cancel only.
    for (int choice = 0; choice < 3; ++choice) {
        Radio(choice)->setFocusPolicy(Qt::ClickFocus);
    }
}

LayoutDialog::~LayoutDialog() = default;

QRadioButton* LayoutDialog::Radio(int choice) const {
    switch (choice) {
        case 0:
            return ui_->banks3;
        case 1:
            return ui_->banks6;
        default:
            return ui_->banks12;
    }
}

int LayoutDialog::exec() {
    // With the buttons exclusive one of them would stay checked; -1 needs all three clear.
    for (int choice = 0; choice < 3; ++choice) {
        QRadioButton* radio = Radio(choice);
        radio->setAutoExclusive(false);
        radio->setChecked(choice == layoutChoice);
        radio->setAutoExclusive(true);
    }
    return QDialog::exec();
}

void LayoutDialog::done(int result) {
    if (result == QDialog::Accepted) {
        layoutChoice = -1;
        for (int choice = 0; choice < 3; ++choice) {
            if (Radio(choice)->isChecked()) {
                layoutChoice = choice;
            }
        }
    }
    QDialog::done(result);
}

}  // namespace korvel::qt

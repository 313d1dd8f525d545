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

std::optional<int> LayoutDialog::Ask(QWidget* parent, int initial) {
    LayoutDialog dialog(parent);
    // With the buttons exclusive one of them would stay checked; -1 needs all three clear.
    for (int choice = 0; choice < 3; ++choice) {
        QRadioButton* radio = dialog.Radio(choice);
        radio->setAutoExclusive(false);
        radio->setChecked(choice == initial);
        radio->setAutoExclusive(true);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Chosen();
}

int LayoutDialog::Chosen() const {
    for (int choice = 0; choice < 3; ++choice) {
        if (Radio(choice)->isChecked()) {
            return choice;
        }
    }
    return -1;
}

}  // namespace korvel::qt

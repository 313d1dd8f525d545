#include "rename_dialog.h"

#include "ui_rename_dialog.h"

namespace korvel::qt {

RenameDialog::RenameDialog(QWidget* parent) : QDialog(parent), ui_(new Ui::RenameDialog) {
    ui_->setupUi(this);
}

RenameDialog::~RenameDialog() = default;

int RenameDialog::exec() {
    // The whole old text is selected, so typing replaces it.
    ui_->nameEdit->setText(nameText);
    ui_->nameEdit->selectAll();
    ui_->nameEdit->setFocus();
    return QDialog::exec();
}

void RenameDialog::done(int result) {
    if (result == QDialog::Accepted) {
        nameText = ui_->nameEdit->text();
    }
    QDialog::done(result);
}

}  // namespace korvel::qt

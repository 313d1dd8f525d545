#include "rename_dialog.h"

#include "ui_rename_dialog.h"

namespace korvel::qt {

RenameDialog::RenameDialog(QWidget* parent) : QDialog(parent), ui_(new Ui::RenameDialog) {
    ui_->setupUi(this);
}

RenameDialog::~RenameDialog() = default;

std::optional<QString> RenameDialog::Ask(QWidget* parent, const QString& initial) {
    RenameDialog dialog(parent);
    // The whole old text is selected, so typing replaces it.
    dialog.ui_->nameEdit->setText(initial);
    dialog.ui_->nameEdit->selectAll();
    dialog.ui_->nameEdit->setFocus();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.ui_->nameEdit->text();
}

}  // namespace korvel::qt

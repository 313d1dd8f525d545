#include "about_dialog.h"

#include "ui_about_dialog.h"

namespace korvel::qt {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), ui_(new Ui::AboutDialog) {
    ui_->setupUi(this);
}

AboutDialog::~AboutDialog() = default;

}  // namespace korvel::qt

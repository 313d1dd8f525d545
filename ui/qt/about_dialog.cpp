#include "about_dialog.h"

#include "resources.h"

#include "ui_about_dialog.h"

namespace korvel::qt {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), ui_(new Ui::AboutDialog) {
    InitResources();  // the icon comes from the compiled-in resources
    ui_->setupUi(this);
}

AboutDialog::~AboutDialog() = default;

}  // namespace korvel::qt

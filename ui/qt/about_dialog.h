// "About Korvel": the program's name and version.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class AboutDialog;
}

namespace korvel::qt {

class AboutDialog : public QDialog {
  public:
    explicit AboutDialog(QWidget* parent = nullptr);
    ~AboutDialog() override;

  private:
    std::unique_ptr<Ui::AboutDialog> ui_;
};

}  // namespace korvel::qt

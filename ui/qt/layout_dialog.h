// "Korvel Memory Layout": one of three layouts, exchanged as the choice index.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class LayoutDialog;
}
class QRadioButton;

namespace korvel::qt {

class LayoutDialog : public QDialog {
  public:
    explicit LayoutDialog(QWidget* parent = nullptr);
    ~LayoutDialog() override;

    // 0, 1 or 2 for 3, 6 or 12 banks; -1 for none. Set before exec(), read after OK.
    int layoutChoice = -1;

    int exec() override;

  private:
    QRadioButton* Radio(int choice) const;
    void done(int result) override;

    std::unique_ptr<Ui::LayoutDialog> ui_;
};

}  // namespace korvel::qt

// "Korvel Memory Layout": one of three layouts, exchanged as the choice index.
#pragma once

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class LayoutDialog;
}
class QRadioButton;

namespace korvel::qt {

class LayoutDialog : public QDialog {
  public:
    // 0, 1 or 2 for 3, 6 or 12 banks; -1 for none. The choice after OK, starting from
    // `initial`; nullopt after Cancel.
    static std::optional<int> Ask(QWidget* parent, int initial);

  private:
    explicit LayoutDialog(QWidget* parent);
    ~LayoutDialog() override;
    QRadioButton* Radio(int choice) const;
    int Chosen() const;

    std::unique_ptr<Ui::LayoutDialog> ui_;
};

}  // namespace korvel::qt

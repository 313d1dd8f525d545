// "Rename": one line of text, the new name of a bank. Escape and the close box cancel.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class RenameDialog;
}

namespace korvel::qt {

class RenameDialog : public QDialog {
  public:
    explicit RenameDialog(QWidget* parent = nullptr);
    ~RenameDialog() override;

    // Set before exec(), read after OK.
    QString nameText;

    int exec() override;

  private:
    void done(int result) override;

    std::unique_ptr<Ui::RenameDialog> ui_;
};

}  // namespace korvel::qt

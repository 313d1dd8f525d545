// "Rename": one line of text, the new name of a bank. Escape and the close box cancel.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <optional>

namespace Ui {
class RenameDialog;
}

namespace korvel::qt {

class RenameDialog : public QDialog {
  public:
    // The text after OK, with the whole of `initial` selected at first; nullopt otherwise.
    static std::optional<QString> Ask(QWidget* parent, const QString& initial);

  private:
    explicit RenameDialog(QWidget* parent);
    ~RenameDialog() override;

    std::unique_ptr<Ui::RenameDialog> ui_;
};

}  // namespace korvel::qt

#include "window_prompts.h"

#include "text_codec.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

namespace korvel::qt {

void WindowPrompts::ShowMessage(const std::string& text, const std::string& caption,
                                ui::Severity severity) {
    const bool error = severity == ui::Severity::error;
    QMessageBox box(error ? QMessageBox::Warning : QMessageBox::Information, ToDisplay(caption),
                    ToDisplay(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool WindowPrompts::AskYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, ToDisplay(caption), ToDisplay(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

namespace {

// A question with a cancel button and a proceed button that is the default, and a check box
// under it when `checkLabel` is given: the box's state, or nothing when the user did not proceed.
std::optional<bool> AskWithButtons(QWidget* parent, const std::string& text,
                                   const std::string& caption, const std::string& proceedLabel,
                                   const std::string& cancelLabel, const std::string* checkLabel,
                                   bool checked) {
    QMessageBox box(QMessageBox::Question, ToDisplay(caption), ToDisplay(text),
                    QMessageBox::NoButton, parent);
    box.addButton(ToDisplay(cancelLabel), QMessageBox::RejectRole);
    QPushButton* proceed = box.addButton(ToDisplay(proceedLabel), QMessageBox::AcceptRole);
    box.setDefaultButton(proceed);
    if (checkLabel != nullptr) {
        auto* check = new QCheckBox(ToDisplay(*checkLabel), &box);
        check->setChecked(checked);
        box.setCheckBox(check);
    }
    box.exec();
    if (box.clickedButton() != proceed) {
        return std::nullopt;
    }
    return box.checkBox() != nullptr && box.checkBox()->isChecked();
}

}  // namespace

bool WindowPrompts::AskToProceed(const std::string& text, const std::string& caption,
                                 const std::string& proceedLabel, const std::string& cancelLabel) {
    return AskWithButtons(parent_, text, caption, proceedLabel, cancelLabel, nullptr, false)
        .has_value();
}

std::optional<bool> WindowPrompts::AskToProceedWith(const std::string& text,
                                                    const std::string& caption,
                                                    const std::string& proceedLabel,
                                                    const std::string& cancelLabel,
                                                    const std::string& checkLabel, bool checked) {
    return AskWithButtons(parent_, text, caption, proceedLabel, cancelLabel, &checkLabel, checked);
}

}  // namespace korvel::qt

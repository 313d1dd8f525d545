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

bool WindowPrompts::AskToProceed(const std::string& text, const std::string& caption,
                                 const std::string& proceedLabel, const std::string& cancelLabel) {
    QMessageBox box(QMessageBox::Question, ToDisplay(caption), ToDisplay(text),
                    QMessageBox::NoButton, parent_);
    box.addButton(ToDisplay(cancelLabel), QMessageBox::RejectRole);
    QPushButton* proceed = box.addButton(ToDisplay(proceedLabel), QMessageBox::AcceptRole);
    box.setDefaultButton(proceed);
    box.exec();
    return box.clickedButton() == proceed;
}

std::optional<bool> WindowPrompts::AskToProceedWith(const std::string& text,
                                                    const std::string& caption,
                                                    const std::string& proceedLabel,
                                                    const std::string& cancelLabel,
                                                    const std::string& checkLabel, bool checked) {
    QMessageBox box(QMessageBox::Question, ToDisplay(caption), ToDisplay(text),
                    QMessageBox::NoButton, parent_);
    box.addButton(ToDisplay(cancelLabel), QMessageBox::RejectRole);
    QPushButton* proceed = box.addButton(ToDisplay(proceedLabel), QMessageBox::AcceptRole);
    box.setDefaultButton(proceed);
    auto* check = new QCheckBox(ToDisplay(checkLabel), &box);
    check->setChecked(checked);
    box.setCheckBox(check);
    box.exec();
    if (box.clickedButton() != proceed) {
        return std::nullopt;
    }
    return check->isChecked();
}

}  // namespace korvel::qt

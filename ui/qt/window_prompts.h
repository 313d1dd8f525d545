// The core's questions and messages as the window's message boxes.
#pragma once

#include "host.h"

class QWidget;

namespace korvel::qt {

class WindowPrompts : public ui::Prompts {
  public:
    explicit WindowPrompts(QWidget* parent) : parent_(parent) {}

    void ShowMessage(const std::string& text, const std::string& caption,
                     ui::Severity severity) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    bool AskToProceed(const std::string& text, const std::string& caption,
                      const std::string& proceedLabel, const std::string& cancelLabel) override;
    std::optional<bool> AskToProceedWith(const std::string& text, const std::string& caption,
                                         const std::string& proceedLabel,
                                         const std::string& cancelLabel,
                                         const std::string& checkLabel, bool checked) override;

  private:
    QWidget* parent_;
};

}  // namespace korvel::qt

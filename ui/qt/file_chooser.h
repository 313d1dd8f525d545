// How the window asks the user for a dump file. The platform's dialogs by default; tests put
// scripted answers in their place.
#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace korvel::qt {

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // nullopt when the user cancels.
    virtual std::optional<QString> ChooseOpen(QWidget* parent, const QString& folder) = 0;
    // Asks before an existing file is replaced.
    virtual std::optional<QString> ChooseSave(QWidget* parent, const QString& folder,
                                              const QString& proposedName) = 0;
};

// The platform's open and save dialogs, filter "SysEx (*syx)" for *.syx, default suffix "syx".
class DialogFileChooser : public FileChooser {
  public:
    std::optional<QString> ChooseOpen(QWidget* parent, const QString& folder) override;
    std::optional<QString> ChooseSave(QWidget* parent, const QString& folder,
                                      const QString& proposedName) override;
};

}  // namespace korvel::qt

#include "file_chooser.h"

#include <QDir>
#include <QFileDialog>

namespace korvel::qt {

namespace {

// Shown as "SysEx (*syx)": the details in the last parentheses are hidden but do the matching.
const QString kSysExFilter = QStringLiteral("SysEx (*syx) (*.syx)");

void Prepare(QFileDialog& dialog) {
    dialog.setNameFilter(kSysExFilter);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(QStringLiteral("syx"));
}

std::optional<QString> Run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

}  // namespace

std::optional<QString> DialogFileChooser::ChooseOpen(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QObject::tr("Open"));
    Prepare(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    return Run(dialog);
}

std::optional<QString> DialogFileChooser::ChooseSave(QWidget* parent, const QString& folder,
                                                     const QString& proposedName) {
    QFileDialog dialog(parent, QObject::tr("Save"));
    Prepare(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(folder.isEmpty() ? QDir::currentPath() : folder);
    if (!proposedName.isEmpty()) {
        dialog.selectFile(proposedName);
    }
    return Run(dialog);
}

}  // namespace korvel::qt

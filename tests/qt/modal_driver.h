// Answers the next modal dialog or message box from inside its own event loop, as a person at
// the keyboard would. A dialog that never appears fails the test that waited for it.
#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace korvel::qt::testing {

inline void OnNextModal(QWidget* owner, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, owner, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == owner || !modal->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

// Chooses `path` in the next file dialog; an empty path cancels it.
inline void ChooseFile(QWidget* owner, const QString& path) {
    OnNextModal(owner, [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY2(dialog != nullptr, "expected a file dialog");
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
}

// Records the next message box's caption and text, then presses `button` in it.
inline void AnswerMessage(QWidget* owner, QString* caption, QString* text,
                          QMessageBox::StandardButton button = QMessageBox::Ok) {
    OnNextModal(owner, [caption, text, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY2(box != nullptr, "expected a message box");
        *caption = box->windowTitle();
        *text = box->text();
        QAbstractButton* pressed = box->button(button);
        QVERIFY2(pressed != nullptr, "the message box lacks that button");
        pressed->click();
    });
}

}  // namespace korvel::qt::testing

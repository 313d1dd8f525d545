// Answers the next modal dialog or message box from inside its own event loop, as a person at
// the keyboard would. A dialog that never appears fails the test that waited for it.
#pragma once

#include "file_chooser.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

namespace korvel::qt::testing {

// What went wrong while answering dialogs; a test's cleanup fails when it is not empty.
inline QStringList& ModalFailures() {
    static QStringList failures;
    return failures;
}

inline void OnNextModal(QWidget* owner, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto* waited = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, owner, act, waited] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == owner || !modal->isVisible()) {
            // A dialog that never came is a failure, not a handler left waiting for the next.
            if (++*waited > 1000) {
                ModalFailures().append(QStringLiteral("an expected dialog never appeared"));
                timer->stop();
                timer->deleteLater();
                delete waited;
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        delete waited;
        act(modal);
    });
    timer->start();
}

// Closes any dialog that stays open unanswered, so a test fails instead of hanging.
class ModalWatchdog {
  public:
    ModalWatchdog() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal == seen_ && ++ticks_ > 20) {
                ModalFailures().append(QStringLiteral("unanswered dialog: ") +
                                       modal->windowTitle());
                QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
                ticks_ = 0;
            } else if (modal != seen_) {
                seen_ = modal;
                ticks_ = 0;
            }
        });
        timer_.start(250);
    }

  private:
    QTimer timer_;
    QWidget* seen_ = nullptr;
    int ticks_ = 0;
};

// File choosers with scripted answers; a request with no answer left is a failure.
class ScriptedChooser : public FileChooser {
  public:
    QStringList openAnswers;  // an empty answer cancels
    QStringList saveAnswers;
    QStringList openFolders;
    QStringList saveFolders;
    QStringList saveProposals;

    std::optional<QString> ChooseOpen(QWidget*, const QString& folder) override {
        openFolders.append(folder);
        return Next(openAnswers);
    }
    std::optional<QString> ChooseSave(QWidget*, const QString& folder,
                                      const QString& proposedName) override {
        saveFolders.append(folder);
        saveProposals.append(proposedName);
        return Next(saveAnswers);
    }

  private:
    static std::optional<QString> Next(QStringList& answers) {
        if (answers.isEmpty()) {
            ModalFailures().append(QStringLiteral("a file was asked for with no answer"));
            return std::nullopt;
        }
        const QString answer = answers.takeFirst();
        return answer.isEmpty() ? std::nullopt : std::optional(answer);
    }
};

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

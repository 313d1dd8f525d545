// The window's Send and Receive over real MIDI ports: run by scripts/midi-e2e.sh with a JACK
// server of its own, korvel-cli on the other side of a send and a port of this test's own on
// the other side of a receive.
#include "dump_builder.h"

#include "receive_session.h"
#include "send_session.h"

#include "main_window.h"
#include "modal_driver.h"

#include "open_system.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <thread>

using korvel::qt::MainWindow;
using korvel::qt::testing::OnNextModal;
using korvel::qt::testing::ScriptedChooser;
namespace build = korvel::testing;

void ClickInMessageBox(QMessageBox* box, const QString& text) {
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == text) {
            button->click();
        }
    }
}

class MidiWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    build::Bytes dump_;
    std::unique_ptr<korvel::midi::MidiSystem> midi_ = korvel::midi::OpenSystem("korvel-test");

    QString File(const QString& name) const { return dir_.filePath(name); }

    std::unique_ptr<MainWindow> StartWindow(const QByteArray& midiSection,
                                            ScriptedChooser** chooser) {
        QFile ini(File(QStringLiteral("korvel.INI")));
        if (!ini.open(QIODevice::WriteOnly)) {
            qFatal("cannot write the settings");
        }
        ini.write("[MIDI]\n" + midiSection);
        ini.close();
        auto window = std::make_unique<MainWindow>(ini.fileName());
        auto scripted = std::make_unique<ScriptedChooser>();
        *chooser = scripted.get();
        window->SetFileChooser(std::move(scripted));
        window->show();
        return window;
    }

    bool WaitForOutput(const std::string& name) {
        for (int i = 0; i < 200; ++i) {
            const auto outputs = midi_->ListPorts().outputs;
            if (std::find(outputs.begin(), outputs.end(), name) != outputs.end()) {
                return true;
            }
            QTest::qWait(50);
        }
        return false;
    }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        const QByteArray path = qgetenv("KORVEL_MIDI_DUMP");
        if (path.isEmpty() || qEnvironmentVariableIsEmpty("KORVEL_MIDI_CLI")) {
            QSKIP("run by scripts/midi-e2e.sh, which starts a JACK server");
        }
        dump_ = build::ReadFile(path.toStdString());
        QVERIFY(dir_.isValid());
        build::WriteFile(File(QStringLiteral("sent.syx")).toStdString(), dump_);
    }

    void windowSendsToKorvelCli() {
        QProcess receiver;
        receiver.start(
            QString::fromLocal8Bit(qgetenv("KORVEL_MIDI_CLI")),
            {QStringLiteral("receive"), File(QStringLiteral("got.syx")),
             QStringLiteral("--own-port"), QStringLiteral("catcher"), QStringLiteral("--idle"),
             QStringLiteral("3000"), QStringLiteral("--wait"), QStringLiteral("120")});
        QVERIFY(receiver.waitForStarted());
        QVERIFY(WaitForOutput("korvel-cli:catcher"));
        ScriptedChooser* chooser = nullptr;
        auto window = StartWindow("Output Port=korvel-cli:catcher\nMessage Pause=0\n", &chooser);
        chooser->openAnswers.append(File(QStringLiteral("sent.syx")));
        window->findChild<QPushButton*>(QStringLiteral("leftOpen"))->click();
        OnNextModal(window.get(), [](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            QVERIFY(box->text().startsWith(
                QStringLiteral("Send the left dump to korvel-cli:catcher? 481 messages")));
            // Nothing plays the W2's MIDI Out here: the send goes without a backup.
            QVERIFY(box->checkBox() != nullptr && box->checkBox()->isChecked());
            QCOMPARE(box->checkBox()->text(), QStringLiteral("Back up the W2 first"));
            box->checkBox()->setChecked(false);
            ClickInMessageBox(box, QStringLiteral("Send"));
        });
        // Once all is sent, the offer to check the W2 is declined.
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&closer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->text().startsWith(QStringLiteral("Sent 481 messages"))) {
                closer.stop();
                ClickInMessageBox(box, QStringLiteral("Close"));
            }
        });
        closer.start(20);
        window->findChild<QPushButton*>(QStringLiteral("leftSend"))->click();
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("statusLine"))
                    ->text()
                    .startsWith(QStringLiteral("Sent 481 messages to korvel-cli:catcher")));
        QVERIFY(receiver.waitForFinished(60000));
        QCOMPARE(build::ReadFile(File(QStringLiteral("got.syx")).toStdString()), dump_);
        QVERIFY(korvel::qt::testing::ModalFailures().isEmpty());
    }

    void windowReceivesFromAPort() {
        const auto feeder = midi_->OpenOwnOutput("feeder");
        QVERIFY2(feeder.ok(), feeder.reason().c_str());
        ScriptedChooser* chooser = nullptr;
        auto window = StartWindow("Input Port=korvel-test:feeder\nReceive Idle=1500\n", &chooser);
        std::thread sender;
        OnNextModal(window.get(), [this, &sender, &feeder](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("Receive from W2"));
            sender = std::thread([this, &feeder] {
                korvel::DumpImage image;
                (void)image.Load(dump_);
                korvel::midi::SteadyClock clock;
                korvel::midi::SendSession session(**feeder, clock, image.MessagesInSaveOrder(), {});
                while (!session.HasEnded()) {
                    std::this_thread::sleep_until(session.Step());
                }
            });
        });
        window->findChild<QPushButton*>(QStringLiteral("rightReceive"))->click();
        sender.join();
        QCOMPARE(window->core().image(1).WriteToBytes(), dump_);
        QVERIFY(window->core().IsChanged(1));
        const QString status = window->findChild<QLabel*>(QStringLiteral("statusLine"))->text();
        QVERIFY2(status.startsWith(QStringLiteral("Received 481 messages from korvel-test:feeder")),
                 qPrintable(status));
        QVERIFY(korvel::qt::testing::ModalFailures().isEmpty());
    }
};

QTEST_MAIN(MidiWindowTest)
#include "midi_window_test.moc"

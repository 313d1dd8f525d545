#include "dump_builder.h"
#include "image_slots.h"
#include "dump_image.h"
#include "edits.h"

#include "fake_midi.h"
#include "main_window.h"
#include "modal_driver.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QMimeData>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using korvel::qt::MainWindow;
using korvel::qt::testing::AnswerMessage;
using korvel::qt::testing::OnNextModal;
using korvel::qt::testing::ScriptedChooser;
namespace build = korvel::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<MainWindow> window_;
    ScriptedChooser* chooser_ = nullptr;  // owned by the window
    korvel::qt::testing::ModalWatchdog watchdog_;

    QString File(const QString& name) const { return dir_.filePath(name); }
    QString Ini() const { return File(QStringLiteral("korvel.INI")); }

    void WriteDump(const QString& name, const build::Bytes& bytes) {
        build::WriteFile(File(name).toStdString(), bytes);
    }

    template <typename T>
    T* Find(const char* name) const {
        T* widget = window_->findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no widget named %s", name);
        }
        return widget;
    }

    QTreeWidget* Tree(const char* side) const {
        return Find<QTreeWidget>(side == QStringLiteral("left") ? "leftTree" : "rightTree");
    }

    void Start() {
        window_ = std::make_unique<MainWindow>(Ini());
        auto chooser = std::make_unique<ScriptedChooser>();
        chooser_ = chooser.get();
        window_->SetFileChooser(std::move(chooser));
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void Click(const char* button) { Find<QPushButton>(button)->click(); }

    void Open(const char* openButton, const QString& name) {
        chooser_->openAnswers.append(File(name));
        Click(openButton);
    }

    void Select(QTreeWidget* tree, int bank, int child = -1, int pattern = -1) {
        QTreeWidgetItem* item = tree->topLevelItem(bank);
        if (child >= 0) {
            item = item->child(child);
        }
        if (pattern >= 0) {
            item = item->child(pattern);
        }
        tree->setCurrentItem(item);
    }

    // The dark pixels of a picture: how much text it shows.
    static int Ink(const QPixmap& picture) {
        const QImage image = picture.toImage();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        return dark;
    }

    QString IniText() const {
        QFile file(Ini());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        WriteDump(QStringLiteral("left.syx"), build::FullDump(1));
        WriteDump(QStringLiteral("right.syx"), build::Concat({build::PatternMessage(0, 0, 0)}));
        const std::string names = "01 Drums\r\n";
        build::WriteFile(File(QStringLiteral("left.bnl")).toStdString(),
                         build::Bytes(names.begin(), names.end()));
    }

    void cleanup() {
        if (window_ && window_->isVisible()) {
            window_->done(QDialog::Rejected);
        }
        window_.reset();
        QFile::remove(Ini());
        const QStringList failures = korvel::qt::testing::ModalFailures();
        korvel::qt::testing::ModalFailures().clear();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral("; "))));
    }

    void firstRunWithoutIniFile() {
        Start();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Korvel"));
        QCOMPARE(Tree("left")->topLevelItemCount(), 12);
        QCOMPARE(Tree("right")->topLevelItem(11)->text(0), QStringLiteral("Bank 12"));
        QCOMPARE(QApplication::focusWidget(), Tree("left"));
        for (QPushButton* button : window_->findChildren<QPushButton*>()) {
            QVERIFY2(!button->autoDefault() && !button->isDefault(), qPrintable(button->text()));
        }
        const char* names[][2] = {{"leftTree", "Left tree"},
                                  {"rightFileName", "Right file name"},
                                  {"leftOpen", "Left Open"},
                                  {"rightMemLayout", "Right MemLayout"},
                                  {"leftToRight", "Copy left to right"},
                                  {"rightToLeft", "Copy right to left"}};
        for (const auto& [object, accessible] : names) {
            QCOMPARE(Find<QWidget>(object)->accessibleName(), QString::fromLatin1(accessible));
        }
        QCOMPARE(Find<QPushButton>("leftToRight")->text(), QStringLiteral("-->"));
        window_->close();
        QVERIFY(!window_->isVisible());
        // The core's settings reach korvel.INI.
        QVERIFY(IniText().startsWith(QStringLiteral("[Directories]\nDirectory Left=\n")));
        QVERIFY(IniText().contains(QStringLiteral("[MIDI]\n")));
    }

    void openTransferBothWaysAndRefusals() {
        Start();
        Open("leftOpen", QStringLiteral("left.syx"));
        Open("rightOpen", QStringLiteral("right.syx"));
        QCOMPARE(Find<QLineEdit>("leftFileName")->text(), QStringLiteral("left.syx"));
        QCOMPARE(Tree("left")->topLevelItem(0)->text(0), QStringLiteral("01 Drums"));

        Select(Tree("left"), 4, 2);
        Select(Tree("right"), 0, 8);
        Click("leftToRight");
        QCOMPARE(Tree("right")->topLevelItem(0)->child(8)->text(0), QStringLiteral("B05 T02"));
        QCOMPARE(Tree("right")->topLevelItem(0)->child(8)->child(3)->text(0),
                 QStringLiteral("B05 T02 P04"));
        QCOMPARE(Tree("right")->currentItem(), Tree("right")->topLevelItem(0)->child(8));

        // Right to left: the copied track goes on, still carrying its first name.
        Select(Tree("left"), 11, 1);
        Click("rightToLeft");
        QCOMPARE(Tree("left")->topLevelItem(11)->child(1)->text(0), QStringLiteral("B05 T02"));

        QString caption, text;
        Select(Tree("left"), 3);
        AnswerMessage(window_.get(), &caption, &text);
        Click("rightToLeft");
        QCOMPARE(caption, QStringLiteral("Error"));
        QCOMPARE(text, QString::fromLatin1(korvel::kSameKindRefusal));
    }

    void deleteAndRename() {
        Start();
        Open("leftOpen", QStringLiteral("left.syx"));
        QTreeWidget* tree = Tree("left");
        Select(tree, 0);
        QString seen, selected;
        OnNextModal(window_.get(), [&seen, &selected](QWidget* modal) {
            auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
            seen = edit->text();
            selected = edit->selectedText();
            QTest::keyClicks(edit, QStringLiteral("Beats"));
            QTest::keyClick(edit, Qt::Key_Return);
        });
        Click("leftRename");
        QCOMPARE(seen, QStringLiteral("Drums"));
        QCOMPARE(selected, QStringLiteral("Drums"));
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("01 Beats"));

        OnNextModal(window_.get(), [](QWidget* modal) {
            auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
            QTest::keyClicks(edit, QStringLiteral("Gone"));
            QTest::keyClick(edit, Qt::Key_Escape);
        });
        Click("leftRename");
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("01 Beats"));

        Select(tree, 0);
        Click("leftDelete");
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Bank 01"));
        // Its icons are now those of the empty right pane, and no longer those of a full bank.
        const auto iconOf = [](QTreeWidgetItem* item) { return item->icon(0).cacheKey(); };
        QTreeWidget* empty = Tree("right");
        QCOMPARE(iconOf(tree->topLevelItem(0)), iconOf(empty->topLevelItem(0)));
        QCOMPARE(iconOf(tree->topLevelItem(0)->child(3)->child(0)),
                 iconOf(empty->topLevelItem(0)->child(3)->child(0)));
        QVERIFY(iconOf(tree->topLevelItem(0)) != iconOf(tree->topLevelItem(1)));
    }

    // The buttons and keys reach the core's history, in the pane that last had the focus.
    void undoButtonsAndKeys() {
        Start();
        Open("leftOpen", QStringLiteral("left.syx"));
        Open("rightOpen", QStringLiteral("left.syx"));
        auto* undo = Find<QPushButton>("rightUndo");
        auto* redo = Find<QPushButton>("rightRedo");
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        QTreeWidget* tree = Tree("right");
        Select(tree, 4);
        Click("rightDelete");
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->toolTip(), QStringLiteral("Undo delete of Bank 05 (Ctrl+Z)"));
        QCOMPARE(undo->accessibleName(), QStringLiteral("Right Undo"));
        undo->click();
        QVERIFY(!window_->core().IsChanged(1));
        QCOMPARE(redo->toolTip(),
                 QStringLiteral("Redo delete of Bank 05 (Ctrl+Shift+Z or Ctrl+Y)"));
        redo->click();
        QVERIFY(window_->core().IsChanged(1));

        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!window_->core().IsChanged(1));
        QTest::keyClick(tree, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(window_->core().IsChanged(1));
        QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(window_->core().IsChanged(1));
        Tree("left")->setFocus();
        QTest::keyClick(Tree("left"), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(window_->core().IsChanged(1));  // the left pane has nothing to undo
        QCOMPARE(Find<QLabel>("statusLine")->text(), QStringLiteral("Redid delete of Bank 05"));
        OnNextModal(window_.get(), [](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            box->button(QMessageBox::Yes)->click();
        });
        window_->reject();
    }

    // Files dropped from outside, and a node of one tree dropped onto the other.
    void dropsReachTheCore() {
        Start();
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(File(QStringLiteral("left.syx"))),
                       QUrl::fromLocalFile(File(QStringLiteral("right.syx")))});
        QWidget* viewport = Tree("right")->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        QCOMPARE(Find<QLineEdit>("leftFileName")->text(), QStringLiteral("left.syx"));
        QCOMPARE(Find<QLineEdit>("rightFileName")->text(), QStringLiteral("right.syx"));

        Select(Tree("left"), 4, 2);
        bool highlight = false;
        QTreeWidgetItem* target = Tree("right")->topLevelItem(0)->child(8);
        QVERIFY(window_->MayDrop(1, nullptr, Tree("left"), target, &highlight));
        QVERIFY(highlight);
        QVERIFY(
            !window_->MayDrop(0, nullptr, Tree("left"), Tree("left")->topLevelItem(1), &highlight));
        window_->Drop(1, nullptr, Tree("left"), target);
        QCOMPARE(Find<QPushButton>("rightUndo")->toolTip(),
                 QStringLiteral("Undo copy of B05 T02 into B01 T08 (Ctrl+Z)"));
    }

    // The keys of a tree press its pane's buttons; errors carry the warning icon.
    void treeKeysAndMessageIcons() {
        Start();
        Open("leftOpen", QStringLiteral("left.syx"));
        QTreeWidget* tree = Tree("left");
        tree->setFocus();
        Select(tree, 2);
        QTest::keyClick(tree, Qt::Key_Delete);
        QCOMPARE(Find<QPushButton>("leftUndo")->toolTip(),
                 QStringLiteral("Undo delete of Bank 03 (Ctrl+Z)"));
        Select(tree, 1);
        QTest::keyClick(tree, Qt::Key_Delete, Qt::KeypadModifier);  // the keypad's own key
        QCOMPARE(Find<QPushButton>("leftUndo")->toolTip(),
                 QStringLiteral("Undo delete of Bank 02 (Ctrl+Z)"));
        Select(tree, 0, 3);
        Select(Tree("right"), 0);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        OnNextModal(window_.get(), [&icon](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            icon = box->icon();
            box->accept();
        });
        QTest::keyClick(tree, Qt::Key_Right, Qt::ControlModifier);  // a track onto a bank
        QCOMPARE(icon, QMessageBox::Warning);
        QString seen;
        OnNextModal(window_.get(), [&seen](QWidget* modal) {
            seen = modal->windowTitle();
            modal->close();
        });
        Select(tree, 1);
        // The message box took the focus, and the offscreen platform gives the window no
        // activation back.
        QApplication::setActiveWindow(window_.get());
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_F2);
        QCOMPARE(seen, QStringLiteral("Rename"));
        QVERIFY(Find<QPushButton>("leftOpen")->toolTip().contains(QStringLiteral("Ctrl+O")));
        OnNextModal(window_.get(), [](QWidget* modal) {
            qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
        });
        window_->reject();
    }

    // Files named on the command line, and the window's place kept from one run to the next.
    void commandLineAndPlace() {
        Start();
        window_->OpenAtStart({File(QStringLiteral("right.syx")), File(QStringLiteral("none.syx"))});
        QCOMPARE(Find<QLineEdit>("leftFileName")->text(), QStringLiteral("right.syx"));
        QVERIFY(Find<QLabel>("statusLine")
                    ->text()
                    .contains(QStringLiteral("none.syx cannot be opened")));
        window_->move(40, 30);
        window_->resize(700, 420);
        const QRect place = window_->geometry();
        window_->close();
        QVERIFY(IniText().contains(QStringLiteral("[Window]\n")));
        Start();
        QCOMPARE(window_->geometry().size(), place.size());
    }

    void memLayoutOkRebuildsCancelKeeps() {
        Start();
        QTreeWidget* tree = Tree("right");
        tree->topLevelItem(1)->setExpanded(true);
        int preset = -2;
        OnNextModal(window_.get(), [&preset](QWidget* modal) {
            for (int i = 0; i < 3; ++i) {
                const char* names[] = {"banks3", "banks6", "banks12"};
                if (modal->findChild<QRadioButton*>(QString::fromLatin1(names[i]))->isChecked()) {
                    preset = i;
                }
            }
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        Click("rightMemLayout");
        QCOMPARE(preset, 2);
        QVERIFY(tree->topLevelItem(1)->isExpanded());

        OnNextModal(window_.get(), [](QWidget* modal) {
            modal->findChild<QRadioButton*>(QStringLiteral("banks6"))->setChecked(true);
            modal->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        Click("rightMemLayout");
        QCOMPARE(tree->topLevelItemCount(), 6);
        QCOMPARE(tree->topLevelItem(1)->childCount(), 9);
        QCOMPARE(tree->topLevelItem(1)->child(1)->childCount(), 8);
        QVERIFY(!tree->topLevelItem(1)->isExpanded());
        window_->close();
        QVERIFY(IniText().contains(QStringLiteral("MemoryLayout Right=1\n")));
    }

    // A selected node shows the very picture it shows unselected, and the status line's text
    // reaches screen readers.
    void selectionKeepsIconsAndStatusIsAnnounced() {
        WriteDump(QStringLiteral("mixed.syx"),
                  build::Concat({build::ForeignMessage(), build::PatternMessage(0, 0, 0)}));
        Start();
        Open("leftOpen", QStringLiteral("mixed.syx"));
        const QIcon icon = Tree("left")->topLevelItem(0)->icon(0);
        QCOMPARE(icon.pixmap(12, QIcon::Selected).toImage(),
                 icon.pixmap(12, QIcon::Normal).toImage());
        const auto* status = Find<QLabel>("statusLine");
        QVERIFY(!status->text().isEmpty());
        QCOMPARE(status->accessibleName(), QStringLiteral("Status: ") + status->text());
    }

    void enterInATreeDoesNotEnd() {
        Start();
        QTreeWidget* tree = Tree("left");
        tree->setFocus();
        Select(tree, 2);
        QTest::keyClick(tree, Qt::Key_Return);
        QVERIFY(window_->isVisible());
        QVERIFY(tree->topLevelItem(2)->isExpanded());
        QTest::keyClick(tree, Qt::Key_Enter);
        QVERIFY(!tree->topLevelItem(2)->isExpanded());
        QVERIFY(window_->isVisible());
    }

    void saveWritesTheDumpAndItsSideFile() {
        Start();
        Open("rightOpen", QStringLiteral("left.syx"));
        QCOMPARE(chooser_->openFolders, QStringList{QString()});
        Select(Tree("right"), 0, 1, 0);
        Click("rightDelete");
        chooser_->saveAnswers.append(File(QStringLiteral("target.syx")));
        Click("rightSave");
        QCOMPARE(chooser_->saveProposals, QStringList{QStringLiteral("left.syx")});
        QCOMPARE(chooser_->saveFolders, QStringList{dir_.path()});
        korvel::DumpImage expected;
        (void)expected.Load(build::FullDump(1));
        korvel::testing::Patterns(expected)[0].Clear();
        QCOMPARE(build::ReadFile(File(QStringLiteral("target.syx")).toStdString()),
                 expected.WriteToBytes());
        QCOMPARE(Find<QLineEdit>("rightFileName")->text(), QStringLiteral("target.syx"));
        std::string names = "01 Drums\r\n";
        for (int bank = 1; bank < 12; ++bank) {
            names += "\r\n";
        }
        QCOMPARE(build::ReadText(File(QStringLiteral("target.bnl")).toStdString()), names);

        // A save that fails says why and leaves everything as it was.
        QString caption, text;
        chooser_->saveAnswers.append(File(QStringLiteral("no-such-folder/x.syx")));
        AnswerMessage(window_.get(), &caption, &text);
        Click("rightSave");
        QCOMPARE(caption, QStringLiteral("Error"));
        QVERIFY(text.contains(QStringLiteral("no-such-folder/x.syx")));
        QCOMPARE(Find<QLineEdit>("rightFileName")->text(), QStringLiteral("target.syx"));

        // The next Open starts in the folder of the last one.
        chooser_->openAnswers.append(QString());
        Click("rightOpen");
        QCOMPARE(chooser_->openFolders.last(), dir_.path());
    }

    // A name shows whatever its script: the file name box draws it (more ink than its ASCII
    // letters alone), and the tree's bank name and the status line carry it as it is.
    void namesShowInEveryScript_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("Latin-1") << QStringLiteral("B\u00e4ss");
        QTest::newRow("Greek") << QStringLiteral("x\u03a9y long name");
        QTest::newRow("Cyrillic") << QStringLiteral("\u0416 cyr");
        QTest::newRow("CJK") << QStringLiteral("\u65e5\u672c song");
        QTest::newRow("beyond the BMP") << QString::fromUcs4(U"\U0001F3B9 keys");
    }
    void namesShowInEveryScript() {
        QFETCH(QString, name);
        WriteDump(name + QStringLiteral(".syx"), build::FullDump(1));
        const std::string names = "01 " + name.toStdString() + "\r\n";
        build::WriteFile(File(name + QStringLiteral(".bnl")).toStdString(),
                         build::Bytes(names.begin(), names.end()));
        Start();
        Open("leftOpen", name + QStringLiteral(".syx"));
        auto* box = Find<QLineEdit>("leftFileName");
        QCOMPARE(box->text(), name + QStringLiteral(".syx"));
        QCOMPARE(Tree("left")->topLevelItem(0)->text(0), QStringLiteral("01 ") + name);
        chooser_->saveAnswers.append(File(name + QStringLiteral(".syx")));
        Click("leftSave");
        QVERIFY(Find<QLabel>("statusLine")->text().contains(name));

        QString ascii;
        for (const QChar c : box->text()) {
            ascii += c.unicode() < 0x80 ? c : QChar(u' ');
        }
        QLineEdit probe;
        probe.setFont(box->font());
        probe.resize(box->size());
        probe.setText(ascii);
        QVERIFY2(Ink(box->grab()) > Ink(probe.grab()), "the name's own letters are not drawn");
    }

    // The node menu comes from the core's command table: each entry with its keys, and Rename
    // greyed on a node that is no bank.
    void nodeMenuShowsKeysAndWhatApplies() {
        Start();
        Open("leftOpen", QStringLiteral("left.syx"));
        QTreeWidget* tree = Tree("left");
        const auto menuAt = [tree](QTreeWidgetItem* item) {
            QStringList entries;
            QTimer::singleShot(0, tree, [&entries] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QVERIFY(menu != nullptr);
                for (const QAction* action : menu->actions()) {
                    if (!action->isSeparator()) {
                        entries << action->text() + QLatin1Char('|') +
                                       action->shortcut().toString(QKeySequence::PortableText) +
                                       (action->isEnabled() ? QString() : QStringLiteral("|off"));
                    }
                }
                menu->close();
            });
            emit tree->customContextMenuRequested(tree->visualItemRect(item).center());
            return entries;
        };
        tree->expandItem(tree->topLevelItem(0));
        const QStringList onTrack = menuAt(tree->topLevelItem(0)->child(1));
        QCOMPARE(onTrack,
                 (QStringList{QStringLiteral("Copy to the other dump|"),
                              QStringLiteral("Delete|Del"), QStringLiteral("Rename|F2|off"),
                              QStringLiteral("Check the W2 against this dump...|"),
                              QStringLiteral("&About Korvel...|F1")}));
        QVERIFY(menuAt(tree->topLevelItem(0)).contains(QStringLiteral("Rename|F2")));
        QVERIFY(Find<QPushButton>("leftRename")->isEnabled());
    }

    void unsavedChangesAskBeforeEnding() {
        Start();
        Open("leftOpen", QStringLiteral("left.syx"));
        Select(Tree("left"), 1);
        Click("leftDelete");
        QString caption, text;
        AnswerMessage(window_.get(), &caption, &text, QMessageBox::No);
        window_->close();
        QVERIFY(window_->isVisible());
        QCOMPARE(caption, QStringLiteral("Korvel"));
        QVERIFY(text.contains(QStringLiteral("unsaved changes")));
        QVERIFY(!QFile::exists(Ini()));
        AnswerMessage(window_.get(), &caption, &text, QMessageBox::Yes);
        QTest::keyClick(window_.get(), Qt::Key_Escape);
        QVERIFY(!window_->isVisible());
        QVERIFY(IniText().contains(QStringLiteral("Directory Left=") + dir_.path()));
    }

    // Open Recent on a right click and on a press held long enough; the mark of unsaved changes.
    void openRecentAndTheUnsavedMark() {
        WriteDump(QStringLiteral("gone.syx"), build::FullDump(3));
        Start();
        Open("leftOpen", QStringLiteral("left.syx"));
        Open("rightOpen", QStringLiteral("gone.syx"));
        QFile::remove(File(QStringLiteral("gone.syx")));
        auto* name = Find<QLineEdit>("leftFileName");
        QCOMPARE(name->text(), QStringLiteral("left.syx"));
        QVERIFY(!name->actions().first()->isVisible());
        Select(Tree("left"), 1);
        Click("leftDelete");
        QCOMPARE(name->text(), QStringLiteral("left.syx"));
        QVERIFY(name->actions().first()->isVisible());
        QCOMPARE(name->accessibleDescription(), QStringLiteral("Unsaved changes"));

        auto* leftOpen = Find<QPushButton>("leftOpen");
        QTest::mousePress(leftOpen, Qt::LeftButton);
        auto* hold = leftOpen->parentWidget()->findChild<QTimer*>(QStringLiteral("openHold"));
        QVERIFY(hold->isActive());
        hold->start(0);  // the hold, without waiting for it
        QTRY_VERIFY(leftOpen->findChild<QMenu*>(QStringLiteral("recentMenu")) != nullptr);
        QTest::mouseRelease(leftOpen, Qt::LeftButton);  // no click: the chooser is not asked
        QMenu* menu = leftOpen->findChild<QMenu*>(QStringLiteral("recentMenu"));
        QCOMPARE(menu->actions().first()->text(),
                 QDir::toNativeSeparators(File(QStringLiteral("left.syx"))));
        QString caption, text;
        AnswerMessage(window_.get(), &caption, &text, QMessageBox::Yes);  // discard the delete
        menu->actions().first()->trigger();
        menu->close();
        QVERIFY(!name->actions().first()->isVisible());
        QCOMPARE(name->accessibleDescription(), QString());

        auto* rightOpen = Find<QPushButton>("rightOpen");
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(2, 2),
                                     rightOpen->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(rightOpen, &rightClick);
        menu = rightOpen->findChild<QMenu*>(QStringLiteral("recentMenu"));
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->actions().size(), 1);
        QVERIFY(!menu->actions().first()->isEnabled());  // the file is gone
        QMenu* backups = rightOpen->findChild<QMenu*>(QStringLiteral("backupsMenu"));
        QVERIFY(backups != nullptr);
        QCOMPARE(backups->actions().last()->text(), QStringLiteral("Show all backups..."));
        menu->close();
    }

    // The real choosers, looked at while they are open and then cancelled.
    void fileDialogsAreSetUpAsDesigned() {
        window_ = std::make_unique<MainWindow>(Ini());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QStringList seen;
        const auto inspect = [&seen](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY2(dialog != nullptr, "expected a file dialog");
            seen << dialog->nameFilters().join(QLatin1Char('|')) << dialog->defaultSuffix()
                 << QString::number(dialog->acceptMode())
                 << QString::number(dialog->testOption(QFileDialog::HideNameFilterDetails))
                 << QString::number(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            dialog->reject();
        };
        OnNextModal(window_.get(), inspect);
        Click("leftOpen");
        OnNextModal(window_.get(), inspect);
        Click("rightSave");
        QCOMPARE(seen, (QStringList{"SysEx (*syx) (*.syx)", "syx", "0", "1", "0",
                                    "SysEx (*syx) (*.syx)", "syx", "1", "1", "0"}));
        QCOMPARE(Find<QLineEdit>("leftFileName")->text(), QString());
    }

    void aboutOnF1() {
        Start();
        QString version;
        OnNextModal(window_.get(), [&version](QWidget* modal) {
            version = modal->windowTitle() + "|" +
                      modal->findChild<QLabel*>(QStringLiteral("versionLine"))->text();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QTest::keyClick(Tree("left"), Qt::Key_F1);
        QCOMPARE(version, QStringLiteral("About Korvel|Korvel Version 0.08 beta"));
    }

    void compareShowsAColumnAndF8ReachesTheCore() {
        Start();
        Open("leftOpen", QStringLiteral("left.syx"));
        Open("rightOpen", QStringLiteral("right.syx"));
        auto* compare = Find<QPushButton>("compareButton");
        QVERIFY(compare->toolTip().contains(QStringLiteral("Ctrl+D")));
        compare->click();
        QVERIFY(window_->core().Compare().IsComparing());
        QCOMPARE(Tree("right")->columnCount(), 2);
        QCOMPARE(Tree("right")->headerItem()->text(1), QStringLiteral("Compared"));
        QVERIFY(Tree("right")->topLevelItem(0)->child(1)->child(0)->text(1).startsWith(
            QStringLiteral("differs")));
        Select(Tree("right"), 0, 0);
        Tree("right")->setFocus();  // a tree's keys act while it has the focus
        QTest::keyClick(Tree("right"), Qt::Key_F8);
        QCOMPARE(Tree("right")->currentItem(), Tree("right")->topLevelItem(0)->child(1)->child(0));
        QTest::keyClick(window_.get(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(!window_->core().Compare().IsComparing());
        QVERIFY(!compare->isChecked());
        QCOMPARE(Tree("right")->columnCount(), 1);
    }

    // A device plugged in again under new numbers: MIDI Setup finds it by its remembered name,
    // and Refresh reads the lists again.
    void midiSetupRefreshesAndFindsAPluggedAgainDevice() {
        QFile ini(Ini());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[MIDI]\nInput Port=W2:W2 MIDI 1 20:0\n");
        ini.close();
        Start();
        auto midi = std::make_unique<korvel::midi::testing::FakeMidiSystem>();
        auto* fake = midi.get();
        fake->AddInput("Midi Through 14:0");
        window_->SetMidiSystem(std::move(midi));
        QStringList before;
        QStringList after;
        OnNextModal(window_.get(), [&](QWidget* modal) {
            auto* inputs = modal->findChild<QComboBox*>(QStringLiteral("inputList"));
            before.append(inputs->currentText());
            fake->AddInput("W2:W2 MIDI 1 24:0");
            modal->findChild<QPushButton*>(QStringLiteral("refreshInputs"))->click();
            after.append(inputs->currentText());
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        for (QAction* action : window_->actions()) {
            if (action->text() == QStringLiteral("MIDI Setup...")) {
                action->trigger();
            }
        }
        QCOMPARE(before, QStringList{QStringLiteral("W2:W2 MIDI 1 20:0 (missing)")});
        QCOMPARE(after, QStringList{QStringLiteral("W2:W2 MIDI 1 24:0")});
    }

    // Not a check: saves what the window looks like with two dumps open, for the README.
    void screenshot() {
        const QByteArray target = qgetenv("KORVEL_SCREENSHOT");
        if (target.isEmpty()) {
            QSKIP("KORVEL_SCREENSHOT is not set");
        }
        Start();
        Open("leftOpen", QStringLiteral("left.syx"));
        Open("rightOpen", QStringLiteral("right.syx"));
        Select(Tree("left"), 4, 2);
        Select(Tree("right"), 0, 8);
        Click("leftToRight");
        Tree("left")->topLevelItem(0)->setExpanded(true);
        Tree("left")->topLevelItem(4)->setExpanded(true);
        Tree("left")->topLevelItem(4)->child(2)->setExpanded(true);
        Tree("right")->topLevelItem(0)->setExpanded(true);
        Tree("right")->topLevelItem(0)->child(8)->setExpanded(true);
        Tree("right")->topLevelItem(0)->child(1)->setExpanded(true);
        if (qEnvironmentVariableIsSet("KORVEL_SCREENSHOT_COMPARE")) {
            Click("compareButton");
        }
        window_->resize(900, 560);
        QTest::qWait(200);
        QVERIFY(window_->grab().save(QString::fromLocal8Bit(target)));
    }
};

int main(int argc, char** argv) {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"

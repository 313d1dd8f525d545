#include "main_window.h"

#include "messages.h"
#include "window_place.h"

#include "resources.h"
#include "text_codec.h"
#include "ui_main_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTreeWidget>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace korvel::qt {

namespace {

#if defined(Q_OS_WIN)
// The system menu's About entry; Windows keeps the low four bits of these ids for itself.
constexpr int kAboutCommand = 0x0010;
#endif

}  // namespace

QString DefaultSettingsPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return folder + QLatin1Char('/') + (base.isEmpty() ? QStringLiteral("korvel") : base) +
           QStringLiteral(".INI");
}

MainWindow::MainWindow(const QString& settingsPath, QWidget* parent)
    : QDialog(parent),
      ui_(new Ui::MainDialog),
      settingsPath_(settingsPath),
      core_(prompts_, *this, services_) {
    InitResources();
    ui_->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/korvel/korvel.xpm")));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    icons_ = LoadTreeIcons();
    setAcceptDrops(true);
    SetUpPanes();
    SetUpWindowCommands();
    AddWindowMenu();
    AddUndoKeys();
    AddNodeMenus();
    SetStartSize();

    settings_.Load(ToPath(settingsPath_));
    core_.Start(settings_);
    RestorePlace();
    panes_[ui::kLeftPane]->TreeWidget()->setFocus();
}

// A window torn down without being closed (the application quitting under it) still keeps
// its settings.
MainWindow::~MainWindow() {
    Finish();
}

void MainWindow::SetUpPanes() {
    panes_ = {ui_->leftGroup, ui_->rightGroup};
    for (const int pane : {ui::kLeftPane, ui::kRightPane}) {
        PaneWidget* widget = panes_[static_cast<std::size_t>(pane)];
        widget->Setup(pane, pane == ui::kLeftPane ? tr("Left") : tr("Right"), icons_, this,
                      [this, pane](ui::CommandId command) { core_.Run(command, pane); });
        widget->OfferRecent([this, pane](QWidget* parent) { return OpenMenu(pane, parent); });
    }
}

QMenu* MainWindow::OpenMenu(int pane, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->addMenu(RecentMenu(pane, menu));
    menu->addMenu(BackupsMenu(pane, menu));
    return menu;
}

QMenu* MainWindow::BackupsMenu(int pane, QWidget* parent) {
    auto* menu = new QMenu(tr("Backups"), parent);
    menu->setObjectName(QStringLiteral("backupsMenu"));
    menu->setToolTipsVisible(true);
    const BackupList list = core_.Link().BackupsMenu(pane);
    for (const Backup& backup : list.backups) {
        QAction* action = menu->addAction(
            tr("%1 \u2014 %2").arg(ToDisplay(backup.when), ToDisplay(backup.change)));
        action->setToolTip(tr("%1 (%n messages)", nullptr, backup.messages)
                               .arg(QDir::toNativeSeparators(FromPath(backup.path))));
        connect(action, &QAction::triggered, this,
                [this, pane, file = backup.path] { core_.Link().OnOpenBackup(pane, file); });
    }
    if (!list.problem.empty()) {
        menu->addAction(ToDisplay(list.problem))->setEnabled(false);
    } else if (menu->isEmpty()) {
        menu->addAction(tr("Nothing has come from the W2 yet"))->setEnabled(false);
    }
    menu->addSeparator();
    menu->addAction(tr("Show all backups..."), this, [this] { core_.Link().OnShowAllBackups(); });
    return menu;
}

QMenu* MainWindow::RecentMenu(int pane, QWidget* parent) {
    auto* menu = new QMenu(tr("Open Recent"), parent);
    menu->setObjectName(QStringLiteral("recentMenu"));
    menu->setToolTipsVisible(true);
    for (const ui::RecentEntry& entry : core_.Files().RecentMenu(pane)) {
        const QString path = QDir::toNativeSeparators(FromPath(entry.path));
        QAction* action = menu->addAction(path);
        action->setEnabled(entry.present);
        action->setToolTip(entry.present ? path : tr("%1 is not there any more").arg(path));
        connect(action, &QAction::triggered, this,
                [this, pane, file = entry.path] { core_.Files().OnOpenNamed(pane, file); });
    }
    if (menu->isEmpty()) {
        menu->addAction(tr("No dumps opened or saved here yet"))->setEnabled(false);
    }
    return menu;
}

// The window's own commands: the transfers and Compare with their buttons between the panes,
// MIDI Setup and About on the window's menu. The transfers' keys act from either tree.
void MainWindow::SetUpWindowCommands() {
    for (const ui::Command& command : ui::Commands()) {
        if (command.scope != ui::CommandScope::window) {
            continue;
        }
        QAction* action = MakeCommandAction(command, {}, this);
        windowActions_[command.id] = action;
        if (command.id == ui::CommandId::compare) {
            // Checked while comparing; the core says when that changes.
            action->setCheckable(true);
            connect(action, &QAction::triggered, this, [this, action] {
                core_.Run(ui::CommandId::compare, ui::kLeftPane);
                action->setChecked(core_.Compare().IsComparing());
            });
        } else {
            connect(action, &QAction::triggered, this,
                    [this, id = command.id] { core_.Run(id, FocusedPane()); });
        }
        if (auto* button = findChild<QPushButton*>(QString::fromUtf8(command.name))) {
            ShowAction(button, action);
            button->setAccessibleName(QString::fromUtf8(command.accessibleName));
            button->setCheckable(action->isCheckable());
            connect(action, &QAction::toggled, button, &QPushButton::setChecked);
        }
        if (command.treeKeys) {
            for (PaneWidget* pane : panes_) {
                pane->AddTreeKeys(action);
            }
        } else {
            addAction(action);
        }
    }
}

void MainWindow::OpenAtStart(const QStringList& files) {
    for (int i = 0; i < files.size() && i < 2; ++i) {
        core_.Files().OpenAtStart(i == 0 ? ui::kLeftPane : ui::kRightPane, ToPath(files[i]));
    }
}

void MainWindow::RestorePlace() {
    const auto kept = ui::ReadWindowRect(settings_);
    if (!kept) {
        return;
    }
    std::vector<ui::WindowRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    // The same inner rectangle that End saved: moving by the frame would creep at every start.
    if (const auto placed = ui::PlaceOnScreens(*kept, screens)) {
        setGeometry(placed->x, placed->y, placed->width, placed->height);
    }
}

// Undo and Redo keep their keys in the whole window, acting in the pane last in use: one
// window action each takes the pane actions' keys and triggers the pane's.
void MainWindow::AddUndoKeys() {
    const auto add = [this](ui::CommandId command) {
        const QAction* model = panes_[ui::kLeftPane]->Action(command);
        auto* action = new QAction(model->text(), this);
        action->setShortcuts(model->shortcuts());
        connect(action, &QAction::triggered, this, [this, command] {
            panes_[static_cast<std::size_t>(FocusedPane())]->Action(command)->trigger();
        });
        addAction(action);
    };
    add(ui::CommandId::undo);
    add(ui::CommandId::redo);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { NoteFocus(now); });
}

void MainWindow::NoteFocus(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w == panes_[ui::kLeftPane] || w == panes_[ui::kRightPane]) {
            focusedPane_ = w == panes_[ui::kLeftPane] ? ui::kLeftPane : ui::kRightPane;
            return;
        }
    }
}

void MainWindow::AddWindowMenu() {
    // There is no system menu to extend outside Windows: About sits in the window's context
    // menu and on F1, since the program brings no help file.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        for (const ui::Command& command : ui::Commands()) {
            if (command.windowMenu) {
                menu.addAction(windowActions_.at(command.id));
            }
        }
        menu.exec(mapToGlobal(at));
    });
#if defined(Q_OS_WIN)
    if (HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kAboutCommand, L"&About Korvel...");
    }
#endif
}

#if defined(Q_OS_WIN)
bool MainWindow::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == kAboutCommand) {
        core_.ShowAbout();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif

// The designed size is 451 x 221 dialog units: a quarter of the average character width and an
// eighth of the line height of the dialog's font.
void MainWindow::SetStartSize() {
    const QFontMetrics metrics(font());
    const int unitX = metrics.horizontalAdvance(
                          QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                      52;
    const int unitY = metrics.height();
    resize(QSize(451 * unitX / 4, 221 * unitY / 8).expandedTo(minimumSizeHint()));
}

void MainWindow::reject() {
    if (core_.MayEnd()) {
        QDialog::reject();
    }
}

void MainWindow::done(int result) {
    Finish();
    QDialog::done(result);
}

void MainWindow::Finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    core_.End(settings_);
    const QRect place = geometry();
    ui::WriteWindowRect(settings_, {place.x(), place.y(), place.width(), place.height()});
    QDir().mkpath(QFileInfo(settingsPath_).absolutePath());
    // A settings file that cannot be written is not worth a message: the next run simply sees
    // the old values.
    (void)settings_.Save(ToPath(settingsPath_));
}

std::optional<ui::ItemTag> MainWindow::SelectedTag(int pane) {
    return panes_[static_cast<std::size_t>(pane)]->Tree().SelectedTag();
}

void MainWindow::ShowStatus(const std::string& line) {
    const QString text = ToDisplay(line);
    ui_->statusLine->setText(text);
    // Screen readers announce the name; the line's text is what they must hear.
    ui_->statusLine->setAccessibleName(text.isEmpty() ? tr("Status") : tr("Status: ") + text);
}

void MainWindow::ShowFileName(int pane, const std::string& name) {
    panes_[static_cast<std::size_t>(pane)]->FileNameBox()->setText(FromPath(name));
}

void MainWindow::ShowUnsaved(int pane, bool unsaved) {
    panes_[static_cast<std::size_t>(pane)]->ShowUnsaved(unsaved);
}

void MainWindow::TreeRebuilt(int pane) {
    panes_[static_cast<std::size_t>(pane)]->Tree().Rebuild(core_.tree(pane));
}

void MainWindow::TreeRefreshed(int pane, const std::vector<ui::NodeChange>& changes) {
    panes_[static_cast<std::size_t>(pane)]->Tree().Apply(core_.tree(pane), changes);
}

void MainWindow::HistoryChanged(int pane) {
    panes_[static_cast<std::size_t>(pane)]->ShowSteps(ToDisplay(core_.Edits().UndoText(pane)),
                                                      ToDisplay(core_.Edits().RedoText(pane)));
}

void MainWindow::ComparingChanged(bool on) {
    for (const int pane : {ui::kLeftPane, ui::kRightPane}) {
        panes_[static_cast<std::size_t>(pane)]->Tree().ShowComparing(on, core_.tree(pane));
    }
    windowActions_.at(ui::CommandId::compare)->setChecked(on);
}

void MainWindow::SelectNode(int pane, const ui::NodePath& path) {
    panes_[static_cast<std::size_t>(pane)]->Tree().Select(path);
}

}  // namespace korvel::qt

#include "main_window.h"

#include "messages.h"
#include "window_place.h"

#include "about_dialog.h"
#include "layout_dialog.h"
#include "rename_dialog.h"
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
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>

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
    : QDialog(parent), ui_(new Ui::MainDialog), settingsPath_(settingsPath), core_(*this) {
    InitResources();
    ui_->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/korvel/korvel.xpm")));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    icons_ = LoadTreeIcons();
    trees_[ui::kLeftPane] = new TreeAdapter(ui_->leftTree, icons_, ui::kLeftPane, this);
    trees_[ui::kRightPane] = new TreeAdapter(ui_->rightTree, icons_, ui::kRightPane, this);
    setAcceptDrops(true);
    ConnectButtons();
    SetToolTips();
    AddAboutEntries();
    AddUndoKeys();
    AddTreeKeysAndMenus();
    SetStartSize();

    settings_.Load(ToPath(settingsPath_));
    core_.Start(settings_);
    RestorePlace();
    ui_->leftTree->setFocus();
}

// A window torn down without being closed (the application quitting under it) still keeps
// its settings.
MainWindow::~MainWindow() {
    Finish();
}

void MainWindow::ConnectButtons() {
    const auto bind = [this](QPushButton* button, auto command) {
        button->setAutoDefault(false);
        button->setDefault(false);
        connect(button, &QPushButton::clicked, this, command);
    };
    bind(ui_->leftOpen, [this] { core_.OnOpen(ui::kLeftPane); });
    bind(ui_->rightOpen, [this] { core_.OnOpen(ui::kRightPane); });
    bind(ui_->leftSave, [this] { core_.OnSave(ui::kLeftPane); });
    bind(ui_->rightSave, [this] { core_.OnSave(ui::kRightPane); });
    bind(ui_->leftNew, [this] { core_.OnNew(ui::kLeftPane); });
    bind(ui_->rightNew, [this] { core_.OnNew(ui::kRightPane); });
    bind(ui_->leftDelete, [this] { core_.OnDelete(ui::kLeftPane); });
    bind(ui_->rightDelete, [this] { core_.OnDelete(ui::kRightPane); });
    bind(ui_->leftRename, [this] { core_.OnRename(ui::kLeftPane); });
    bind(ui_->rightRename, [this] { core_.OnRename(ui::kRightPane); });
    bind(ui_->leftMemLayout, [this] { core_.OnMemLayout(ui::kLeftPane); });
    bind(ui_->rightMemLayout, [this] { core_.OnMemLayout(ui::kRightPane); });
    bind(ui_->leftUndo, [this] { core_.OnUndo(ui::kLeftPane); });
    bind(ui_->rightUndo, [this] { core_.OnUndo(ui::kRightPane); });
    bind(ui_->leftRedo, [this] { core_.OnRedo(ui::kLeftPane); });
    bind(ui_->rightRedo, [this] { core_.OnRedo(ui::kRightPane); });
    bind(ui_->leftReceive, [this] { core_.OnReceive(ui::kLeftPane); });
    bind(ui_->rightReceive, [this] { core_.OnReceive(ui::kRightPane); });
    bind(ui_->leftSend, [this] { core_.OnSend(ui::kLeftPane); });
    bind(ui_->rightSend, [this] { core_.OnSend(ui::kRightPane); });
    bind(ui_->leftToRight, [this] { core_.OnTransfer(ui::kLeftPane, ui::kRightPane); });
    bind(ui_->rightToLeft, [this] { core_.OnTransfer(ui::kRightPane, ui::kLeftPane); });
}

void MainWindow::SetToolTips() {
    const struct {
        QPushButton* button;
        QString tip;
    } tips[] = {
        {ui_->leftOpen, tr("Open a dump into the left pane (Ctrl+O)")},
        {ui_->rightOpen, tr("Open a dump into the right pane (Ctrl+O)")},
        {ui_->leftSave, tr("Save the left dump (Ctrl+S)")},
        {ui_->rightSave, tr("Save the right dump (Ctrl+S)")},
        {ui_->leftDelete, tr("Delete the selected material (Delete)")},
        {ui_->rightDelete, tr("Delete the selected material (Delete)")},
        {ui_->leftRename, tr("Rename the selected bank (F2)")},
        {ui_->rightRename, tr("Rename the selected bank (F2)")},
        {ui_->leftToRight, tr("Copy the left selection onto the right one (Ctrl+Right)")},
        {ui_->rightToLeft, tr("Copy the right selection onto the left one (Ctrl+Left)")},
    };
    for (const auto& entry : tips) {
        entry.button->setToolTip(entry.tip);
    }
}

void MainWindow::OpenAtStart(const QStringList& files) {
    for (int i = 0; i < files.size() && i < 2; ++i) {
        core_.OpenAtStart(i == 0 ? ui::kLeftPane : ui::kRightPane, ToPath(files[i]));
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
    if (const auto placed = ui::PlaceOnScreens(*kept, screens)) {
        resize(placed->width, placed->height);
        move(placed->x, placed->y);
    }
}

void MainWindow::AddUndoKeys() {
    const auto add = [this](const QKeySequence& keys, auto command) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, command);
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { core_.OnUndo(FocusedPane()); });
    add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] { core_.OnRedo(FocusedPane()); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { core_.OnRedo(FocusedPane()); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { NoteFocus(now); });
}

void MainWindow::NoteFocus(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w == ui_->leftGroup || w == ui_->rightGroup) {
            focusedPane_ = w == ui_->leftGroup ? ui::kLeftPane : ui::kRightPane;
            return;
        }
    }
}

void MainWindow::AddAboutEntries() {
    // There is no system menu to extend outside Windows: About sits in the window's context
    // menu and on F1, since the program brings no help file.
    auto* setup = new QAction(tr("MIDI Setup..."), this);
    connect(setup, &QAction::triggered, this, [this] { core_.OnMidiSetup(); });
    addAction(setup);
    auto* about = new QAction(tr("&About Korvel..."), this);
    connect(about, &QAction::triggered, this, &MainWindow::ShowAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &MainWindow::ShowAbout);
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
        ShowAbout();
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

void MainWindow::ShowAbout() {
    AboutDialog about(this);
    about.exec();
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

void MainWindow::SetFileChooser(std::unique_ptr<FileChooser> chooser) {
    fileChooser_ = std::move(chooser);
}

std::optional<std::string> MainWindow::ChooseOpenFile(int, const std::string& folder) {
    const auto path = fileChooser_->ChooseOpen(this, FromPath(folder));
    return path ? std::optional(ToPath(*path)) : std::nullopt;
}

std::optional<std::string> MainWindow::ChooseSaveFile(int, const std::string& folder,
                                                      const std::string& proposedName) {
    const auto path = fileChooser_->ChooseSave(this, FromPath(folder), FromPath(proposedName));
    return path ? std::optional(ToPath(*path)) : std::nullopt;
}

void MainWindow::ShowMessage(const std::string& text, const std::string& caption,
                             ui::Severity severity) {
    const bool error = severity == ui::Severity::error;
    QMessageBox box(error ? QMessageBox::Warning : QMessageBox::Information, ToDisplay(caption),
                    ToDisplay(text), QMessageBox::Ok, this);
    box.exec();
}

bool MainWindow::AskYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, ToDisplay(caption), ToDisplay(text),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<int> MainWindow::RunLayoutDialog(int choice) {
    LayoutDialog dialog(this);
    dialog.layoutChoice = choice;
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.layoutChoice;
}

std::optional<std::string> MainWindow::RunRenameDialog(const std::string& text) {
    RenameDialog dialog(this);
    const QString shown = ToDisplay(text);
    dialog.nameText = shown;
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    // A text nobody edited goes back exactly as it was stored, whatever its encoding.
    return dialog.nameText == shown ? text : ToStored(dialog.nameText);
}

std::optional<ui::ItemTag> MainWindow::SelectedTag(int pane) {
    return trees_[static_cast<std::size_t>(pane)]->SelectedTag();
}

void MainWindow::ShowStatus(const std::string& line) {
    const QString text = ToDisplay(line);
    ui_->statusLine->setText(text);
    // Screen readers announce the name; the line's text is what they must hear.
    ui_->statusLine->setAccessibleName(text.isEmpty() ? tr("Status") : tr("Status: ") + text);
}

void MainWindow::ShowFileName(int pane, const std::string& name) {
    (pane == ui::kLeftPane ? ui_->leftFileName : ui_->rightFileName)->setText(FromPath(name));
}

void MainWindow::TreeRebuilt(int pane) {
    trees_[static_cast<std::size_t>(pane)]->Rebuild(core_.tree(pane));
}

void MainWindow::TreeRefreshed(int pane, const std::vector<ui::NodeChange>& changes) {
    trees_[static_cast<std::size_t>(pane)]->Apply(core_.tree(pane), changes);
}

void MainWindow::HistoryChanged(int pane) {
    const bool left = pane == ui::kLeftPane;
    const auto show = [](QPushButton* button, const std::string& text, const QString& keys) {
        button->setEnabled(!text.empty());
        button->setToolTip(text.empty() ? QString() : ToDisplay(text) + keys);
    };
    show(left ? ui_->leftUndo : ui_->rightUndo, core_.UndoText(pane), tr(" (Ctrl+Z)"));
    show(left ? ui_->leftRedo : ui_->rightRedo, core_.RedoText(pane),
         tr(" (Ctrl+Shift+Z or Ctrl+Y)"));
}

}  // namespace korvel::qt

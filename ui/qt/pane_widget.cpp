#include "pane_widget.h"

#include "ui_pane.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QTimer>

namespace korvel::qt {

namespace {

struct CommandDefinition {
    PaneCommand command;
    const char* name;  // the button's name after its side: "leftOpen"
    const char* text;
    QList<QKeySequence> keys;
    // The tooltip before its keys; %1 is the side in small letters. Undo and Redo describe
    // their next step instead.
    const char* description;
};

const std::array<CommandDefinition, kPaneCommandCount>& Definitions() {
    static const std::array<CommandDefinition, kPaneCommandCount> definitions = {{
        {PaneCommand::open,
         "Open",
         QT_TR_NOOP("Open"),
         {QKeySequence(Qt::CTRL | Qt::Key_O)},
         QT_TR_NOOP("Open a dump into the %1 pane")},
        {PaneCommand::save,
         "Save",
         QT_TR_NOOP("Save"),
         {QKeySequence(Qt::CTRL | Qt::Key_S)},
         QT_TR_NOOP("Save the %1 dump")},
        {PaneCommand::newDump, "New", QT_TR_NOOP("New"), {}, nullptr},
        {PaneCommand::remove,
         "Delete",
         QT_TR_NOOP("Delete"),
         {QKeySequence(Qt::Key_Delete)},
         QT_TR_NOOP("Delete the selected material")},
        {PaneCommand::rename,
         "Rename",
         QT_TR_NOOP("Rename"),
         {QKeySequence(Qt::Key_F2)},
         QT_TR_NOOP("Rename the selected bank")},
        {PaneCommand::undo,
         "Undo",
         QT_TR_NOOP("Undo"),
         {QKeySequence(Qt::CTRL | Qt::Key_Z)},
         nullptr},
        {PaneCommand::redo,
         "Redo",
         QT_TR_NOOP("Redo"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
         nullptr},
        {PaneCommand::receive, "Receive", QT_TR_NOOP("Receive"), {}, nullptr},
        {PaneCommand::send, "Send", QT_TR_NOOP("Send"), {}, nullptr},
        {PaneCommand::memLayout, "MemLayout", QT_TR_NOOP("MemLayout"), {}, nullptr},
    }};
    return definitions;
}

// A filled dot in the palette's highlight colour: the unsaved mark.
QIcon UnsavedIcon(const QWidget& widget) {
    const int size = widget.style()->pixelMetric(QStyle::PM_SmallIconSize);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(widget.palette().color(QPalette::Highlight));
    painter.drawEllipse(QRectF(size * 0.25, size * 0.25, size * 0.5, size * 0.5));
    return QIcon(pixmap);
}

}  // namespace

QString TipWithKeys(const QString& description, const QAction& action) {
    QStringList keys;
    for (const QKeySequence& key : action.shortcuts()) {
        keys.append(key.toString(QKeySequence::PortableText));
    }
    if (keys.isEmpty()) {
        return description;
    }
    return description + QStringLiteral(" (") + keys.join(PaneWidget::tr(" or ")) +
           QStringLiteral(")");
}

void ShowAction(QPushButton* button, QAction* action) {
    const auto show = [button, action] {
        button->setText(action->text());
        button->setToolTip(action->toolTip() == action->text() ? QString() : action->toolTip());
        button->setEnabled(action->isEnabled());
    };
    show();
    QObject::connect(action, &QAction::changed, button, show);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    button->setAutoDefault(false);
    button->setDefault(false);
}

PaneWidget::PaneWidget(QWidget* parent) : QGroupBox(parent), ui_(new Ui::PaneForm) {
    ui_->setupUi(this);
}

PaneWidget::~PaneWidget() = default;

QTreeWidget* PaneWidget::TreeWidget() const {
    return ui_->tree;
}

QLineEdit* PaneWidget::FileNameBox() const {
    return ui_->fileName;
}

void PaneWidget::Setup(int pane, const QString& side, const TreeIcons& icons, DropTarget* drops) {
    const std::array<QPushButton*, kPaneCommandCount> buttons = {
        ui_->openButton,   ui_->saveButton,     ui_->newButton,  ui_->deleteButton,
        ui_->renameButton, ui_->undoButton,     ui_->redoButton, ui_->receiveButton,
        ui_->sendButton,   ui_->memLayoutButton};
    const QString prefix = side.toLower();
    for (std::size_t i = 0; i < kPaneCommandCount; ++i) {
        const CommandDefinition& definition = Definitions()[i];
        auto* action = new QAction(tr(definition.text), this);
        action->setShortcuts(definition.keys);
        if (definition.description != nullptr) {
            QString description = tr(definition.description);
            if (description.contains(QLatin1String("%1"))) {
                description = description.arg(prefix);
            }
            action->setToolTip(TipWithKeys(description, *action));
        }
        actions_[static_cast<std::size_t>(definition.command)] = action;
        buttons[i]->setObjectName(prefix + QLatin1String(definition.name));
        buttons[i]->setAccessibleName(side + QLatin1Char(' ') + action->text());
        ShowAction(buttons[i], action);
    }
    ShowSteps({}, {});
    // The two panes hold the same keys, so each acts only from its own tree; Undo and Redo act
    // from anywhere in the window, for the pane last in use, which the window arranges.
    for (const PaneCommand command :
         {PaneCommand::remove, PaneCommand::rename, PaneCommand::open, PaneCommand::save}) {
        AddTreeKeys(Action(command));
    }
    setObjectName(prefix + QStringLiteral("Group"));
    ui_->tree->setObjectName(prefix + QStringLiteral("Tree"));
    ui_->tree->setAccessibleName(side + tr(" tree"));
    ui_->fileName->setObjectName(prefix + QStringLiteral("FileName"));
    ui_->fileName->setAccessibleName(side + tr(" file name"));
    adapter_ = new TreeAdapter(ui_->tree, icons, pane, drops);
    unsavedMark_ =
        ui_->fileName->addAction(UnsavedIcon(*ui_->fileName), QLineEdit::TrailingPosition);
    unsavedMark_->setToolTip(tr("The %1 dump has unsaved changes").arg(prefix));
    ShowUnsaved(false);
}

void PaneWidget::ShowUnsaved(bool unsaved) {
    unsavedMark_->setVisible(unsaved);
    ui_->fileName->setAccessibleDescription(unsaved ? tr("Unsaved changes") : QString());
}

void PaneWidget::OfferRecent(std::function<QMenu*(QWidget* parent)> makeMenu) {
    makeRecentMenu_ = std::move(makeMenu);
    QPushButton* open = ui_->openButton;
    open->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(open, &QWidget::customContextMenuRequested, this, [this] { PopUpRecent(); });
    // Held as long as a tool button's menu delay, the press opens the menu instead of clicking.
    holdTimer_ = new QTimer(this);
    holdTimer_->setObjectName(QStringLiteral("openHold"));
    holdTimer_->setSingleShot(true);
    holdTimer_->setInterval(style()->styleHint(QStyle::SH_ToolButton_PopupDelay, nullptr, open));
    connect(open, &QPushButton::pressed, holdTimer_, qOverload<>(&QTimer::start));
    connect(open, &QPushButton::released, holdTimer_, &QTimer::stop);
    connect(holdTimer_, &QTimer::timeout, this, [this, open] {
        if (open->isDown()) {
            open->setDown(false);  // a button no longer down does not click when released
            PopUpRecent();
        }
    });
}

void PaneWidget::PopUpRecent() {
    if (!makeRecentMenu_) {
        return;
    }
    QMenu* menu = makeRecentMenu_(ui_->openButton);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(ui_->openButton->mapToGlobal(QPoint(0, ui_->openButton->height())));
}

void PaneWidget::ShowSteps(const QString& undoText, const QString& redoText) {
    const auto show = [](QAction* action, const QString& text) {
        action->setEnabled(!text.isEmpty());
        action->setToolTip(text.isEmpty() ? action->text() : TipWithKeys(text, *action));
    };
    show(Action(PaneCommand::undo), undoText);
    show(Action(PaneCommand::redo), redoText);
}

void PaneWidget::AddTreeKeys(QAction* action) {
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    ui_->tree->addAction(action);
}

}  // namespace korvel::qt

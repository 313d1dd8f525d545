#include "pane_widget.h"

#include "ui_pane.h"

#include <QAction>
#include <QKeySequence>
#include <QPushButton>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QTimer>

namespace korvel::qt {

namespace {

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

QAction* MakeCommandAction(const ui::Command& command, const QString& side, QObject* parent) {
    auto* action = new QAction(QString::fromUtf8(command.text), parent);
    action->setShortcuts(
        QKeySequence::listFromString(QString::fromUtf8(command.keys), QKeySequence::PortableText));
    if (*command.tooltip != '\0') {
        QString description = QString::fromUtf8(command.tooltip);
        if (description.contains(QLatin1String("%1"))) {
            description = description.arg(side.toLower());
        }
        action->setToolTip(TipWithKeys(description, *action));
    }
    return action;
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

QAction* PaneWidget::Action(ui::CommandId command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

void PaneWidget::Setup(int pane, const QString& side, const TreeIcons& icons, DropTarget* drops,
                       std::function<void(ui::CommandId)> run) {
    const QString prefix = side.toLower();
    for (const ui::Command& command : ui::Commands()) {
        if (command.scope == ui::CommandScope::window) {
            continue;
        }
        QAction* action = MakeCommandAction(command, side, this);
        connect(action, &QAction::triggered, this, [run, id = command.id] { run(id); });
        actions_[command.id] = action;
        if (command.scope == ui::CommandScope::paneButton) {
            // The form names each button after its command: "openButton" for "Open".
            QString name = QString::fromUtf8(command.name);
            name[0] = name[0].toLower();
            auto* button = findChild<QPushButton*>(name + QStringLiteral("Button"));
            Q_ASSERT(button != nullptr);
            button->setObjectName(prefix + QString::fromUtf8(command.name));
            button->setAccessibleName(side + QLatin1Char(' ') + action->text());
            ShowAction(button, action);
        }
        // The two panes hold the same keys, so each acts only from its own tree; Undo and Redo
        // act from anywhere in the window, for the pane last in use, which the window arranges.
        if (command.treeKeys) {
            AddTreeKeys(action);
        }
    }
    ShowSteps({}, {});
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
    show(Action(ui::CommandId::undo), undoText);
    show(Action(ui::CommandId::redo), redoText);
}

void PaneWidget::AddTreeKeys(QAction* action) {
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    ui_->tree->addAction(action);
}

}  // namespace korvel::qt

// The node menu, and what is dragged onto the window: nodes of the other tree and files from
// outside. Every one of them forwards to a core command.
#include "main_window.h"

#include "commands.h"

#include "item_tag.h"

#include "text_codec.h"
#include "ui_main_dialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTreeWidget>

namespace korvel::qt {

void MainWindow::AddNodeMenus() {
    for (const int pane : {ui::kLeftPane, ui::kRightPane}) {
        connect(panes_[static_cast<std::size_t>(pane)]->TreeWidget(),
                &QWidget::customContextMenuRequested, this,
                [this, pane](const QPoint& at) { ShowNodeMenu(pane, at); });
    }
}

void MainWindow::ShowNodeMenu(int pane, const QPoint& at) {
    QTreeWidget* tree = panes_[static_cast<std::size_t>(pane)]->TreeWidget();
    QTreeWidgetItem* item = tree->itemAt(at);
    if (item == nullptr) {
        return;
    }
    tree->setCurrentItem(item);
    // The pane's own actions, with their keys; the window's after a separator. One that does
    // not apply to the node (Rename of a track) shows greyed while the menu is open.
    QMenu menu(this);
    PaneWidget* widget = panes_[static_cast<std::size_t>(pane)];
    QList<QAction*> greyed;
    bool windowPart = false;
    for (const ui::Command& command : ui::Commands()) {
        if (!command.nodeMenu) {
            continue;
        }
        QAction* action = widget->Action(command.id);
        if (action == nullptr) {
            action = windowActions_.at(command.id);
            if (!windowPart) {
                menu.addSeparator();
                windowPart = true;
            }
        }
        if (action->isEnabled() &&
            !ui::AppliesTo(command, static_cast<ui::ItemTag>(item->type()))) {
            action->setEnabled(false);
            greyed.append(action);
        }
        menu.addAction(action);
    }
    menu.exec(tree->viewport()->mapToGlobal(at));
    for (QAction* action : greyed) {
        action->setEnabled(true);
    }
}

namespace {

// The local files among dropped URLs.
QList<QUrl> LocalFiles(const QMimeData* data) {
    QList<QUrl> files;
    if (data != nullptr && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                files.append(url);
            }
        }
    }
    return files;
}

}  // namespace

ui::Drag MainWindow::DragOf(const QMimeData* dropped, QObject* source) const {
    ui::Drag drag;
    for (const int pane : {ui::kLeftPane, ui::kRightPane}) {
        if (source == panes_[static_cast<std::size_t>(pane)]->TreeWidget()) {
            drag.fromPane = pane;
            return drag;
        }
    }
    for (const QUrl& url : LocalFiles(dropped)) {
        drag.files.push_back(ToPath(url.toLocalFile()));
    }
    return drag;
}

namespace {

std::optional<ui::ItemTag> TagOf(const QTreeWidgetItem* item) {
    return item != nullptr ? std::optional(static_cast<ui::ItemTag>(item->type())) : std::nullopt;
}

}  // namespace

bool MainWindow::MayDrop(int pane, const QMimeData* dropped, QObject* source, QTreeWidgetItem* item,
                         bool* highlight) {
    const ui::DropAnswer answer = core_.MayDrop(pane, DragOf(dropped, source), TagOf(item));
    *highlight = answer.highlight;
    return answer.accepted;
}

void MainWindow::Drop(int pane, const QMimeData* dropped, QObject* source, QTreeWidgetItem* item) {
    core_.OnDrop(pane, DragOf(dropped, source), TagOf(item));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QPoint at = event->position().toPoint();
    const int pane =
        panes_[ui::kRightPane]->geometry().contains(at) ? ui::kRightPane : ui::kLeftPane;
    event->acceptProposedAction();
    core_.OnDrop(pane, DragOf(event->mimeData(), nullptr), std::nullopt);
}

}  // namespace korvel::qt

// The node menu, and what is dragged onto the window: nodes of the other tree and files from
// outside. Every one of them forwards to a core command.
#include "main_window.h"

#include "edits.h"

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
    QMenu menu(this);
    const int other = ui::OtherPane(pane);
    menu.addAction(tr("Copy to the other dump"), this,
                   [this, pane, other] { core_.OnTransfer(pane, other); });
    menu.addAction(tr("Delete"), this, [this, pane] { core_.OnDelete(pane); });
    if (CanRename(ui::SplitItemTag(static_cast<ui::ItemTag>(item->type())))) {
        menu.addAction(tr("Rename\u2026"), this, [this, pane] { core_.OnRename(pane); });
    }
    menu.addAction(tr("Check the W2 against this dump..."), this,
                   [this, pane] { core_.OnCheck(pane); });
    menu.addSeparator();
    menu.addAction(tr("&About Korvel..."), this, &MainWindow::ShowAbout);
    menu.exec(tree->viewport()->mapToGlobal(at));
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

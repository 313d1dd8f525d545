// The window's keys in the trees, the node menu, and what is dragged onto it: nodes of the other
// tree and files from outside. Every one of them forwards to a core command.
#include "main_window.h"

#include "edits.h"

#include "item_tag.h"

#include "text_codec.h"
#include "ui_main_dialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTreeWidget>

namespace korvel::qt {

void MainWindow::AddTreeKeysAndMenus() {
    for (const int pane : {ui::kLeftPane, ui::kRightPane}) {
        PaneWidget* widget = panes_[static_cast<std::size_t>(pane)];
        // Taken from the tree's own key presses: the view would keep F2 from a shortcut.
        const auto& differences = differences_[static_cast<std::size_t>(pane)];
        widget->Tree().SetKeyHandler([this, widget, differences](const QKeyEvent& key) {
            return widget->TriggerByKey(
                key, {transfers_[0], transfers_[1], differences[0], differences[1]});
        });
        connect(widget->TreeWidget(), &QWidget::customContextMenuRequested, this,
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
    const int other = pane == ui::kLeftPane ? ui::kRightPane : ui::kLeftPane;
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

int MainWindow::PaneOf(QObject* source) const {
    for (const int pane : {ui::kLeftPane, ui::kRightPane}) {
        if (source == panes_[static_cast<std::size_t>(pane)]->TreeWidget()) {
            return pane;
        }
    }
    return -1;
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

bool MainWindow::MayDrop(int pane, const QMimeData* dropped, QObject* source, QTreeWidgetItem* item,
                         bool* highlight) {
    *highlight = false;
    const int from = PaneOf(source);
    if (from < 0) {
        return !LocalFiles(dropped).isEmpty();
    }
    if (from == pane || item == nullptr) {
        return false;  // within one tree a drag does nothing
    }
    // Every node of the other tree takes the drop, so a refusal says why as "-->" does; only
    // a node that would copy is highlighted.
    *highlight = core_.WouldAcceptDrop(from, pane, static_cast<ui::ItemTag>(item->type()));
    return true;
}

void MainWindow::Drop(int pane, const QMimeData* dropped, QObject* source, QTreeWidgetItem* item) {
    const int from = PaneOf(source);
    if (from < 0) {
        OpenDroppedFiles(pane, LocalFiles(dropped));
    } else if (item != nullptr && from != pane) {
        core_.OnDropTransfer(from, pane, static_cast<ui::ItemTag>(item->type()));
    }
}

void MainWindow::OpenDroppedFiles(int pane, const QList<QUrl>& urls) {
    if (urls.size() >= 2) {
        core_.OnDropFile(ui::kLeftPane, ToPath(urls[0].toLocalFile()));
        core_.OnDropFile(ui::kRightPane, ToPath(urls[1].toLocalFile()));
    } else if (urls.size() == 1) {
        core_.OnDropFile(pane, ToPath(urls[0].toLocalFile()));
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> files = LocalFiles(event->mimeData());
    const QPoint at = event->position().toPoint();
    const int pane =
        panes_[ui::kRightPane]->geometry().contains(at) ? ui::kRightPane : ui::kLeftPane;
    event->acceptProposedAction();
    OpenDroppedFiles(pane, files);
}

}  // namespace korvel::qt

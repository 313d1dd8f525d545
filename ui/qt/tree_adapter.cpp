#include "tree_adapter.h"

#include "resources.h"
#include "text_codec.h"

#include <QDropEvent>
#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QPixmap>
#include <QTreeWidget>

#include <functional>

namespace korvel::qt {

namespace {

constexpr int kComparedColumn = 1;

// One colour for each mark that says the dumps differ here; same and unmarked stay plain.
QBrush MarkBrush(Mark mark) {
    switch (mark) {
        case Mark::differs:
            return QColor(255, 224, 160);
        case Mark::onlyHere:
            return QColor(200, 240, 200);
        case Mark::onlyThere:
            return QColor(200, 220, 255);
        default:
            return {};
    }
}

// Shows a node's mark: the "Compared" column's words and the row's colour, or nothing.
void PaintMark(QTreeWidgetItem* item, const ui::TreeNode& node) {
    const QBrush brush = MarkBrush(node.mark);
    for (const int column : {0, kComparedColumn}) {
        item->setBackground(column, brush);
        // On a coloured row the text keeps its contrast whatever the palette.
        item->setForeground(column, brush.style() == Qt::NoBrush ? QBrush() : QBrush(Qt::black));
        item->setToolTip(column,
                         node.namesDiffer ? TreeAdapter::tr("The bank names differ") : QString());
    }
    item->setData(0, kMarkRole, static_cast<int>(node.mark));
    item->setText(kComparedColumn, QString::fromStdString(node.compared));
}

void ClearMark(QTreeWidgetItem* item) {
    for (const int column : {0, kComparedColumn}) {
        item->setData(column, Qt::BackgroundRole, QVariant());
        item->setData(column, Qt::ForegroundRole, QVariant());
        item->setToolTip(column, QString());
    }
    item->setData(0, kMarkRole, QVariant());
    item->setText(kComparedColumn, QString());
}

// The ItemTag is the item's type: a per-item integer fixed when the item is made, which costs
// nothing more to store. Every tag has a kind bit of 0x1000 or above, so it is also above
// QTreeWidgetItem::UserType, as types of one's own must be.
QTreeWidgetItem* MakeItem(const ui::TreeNode& node, const TreeIcons& icons, bool comparing) {
    auto* item = new QTreeWidgetItem(static_cast<int>(node.tag));
    item->setText(0, ToDisplay(node.text));
    item->setIcon(0, icons[static_cast<std::size_t>(node.icon)]);
    if (comparing) {
        PaintMark(item, node);
    }
    if (!node.children.empty()) {
        QList<QTreeWidgetItem*> children;
        children.reserve(static_cast<qsizetype>(node.children.size()));
        for (const auto& child : node.children) {
            children.append(MakeItem(child, icons, comparing));
        }
        item->addChildren(children);
    }
    return item;
}

// Every item below `item`, with its node, depth first.
void ForEachItem(QTreeWidgetItem* item, const ui::TreeNode& node,
                 const std::function<void(QTreeWidgetItem*, const ui::TreeNode&)>& visit) {
    visit(item, node);
    for (int i = 0; i < item->childCount() && i < static_cast<int>(node.children.size()); ++i) {
        ForEachItem(item->child(i), node.children[static_cast<std::size_t>(i)], visit);
    }
}

}  // namespace

TreeIcons LoadTreeIcons() {
    InitResources();
    TreeIcons icons;
    const QPixmap strip(QStringLiteral(":/korvel/tree_icons.xpm"));
    if (strip.isNull()) {
        return icons;  // without the strip the tree simply shows no icons
    }
    for (int i = 0; i < 12; ++i) {
        // The same picture when selected: the default tint would hide the fill state.
        const QPixmap picture = strip.copy(i * 12, 0, 12, 12);
        QIcon& icon = icons[static_cast<std::size_t>(i)];
        icon.addPixmap(picture, QIcon::Normal);
        icon.addPixmap(picture, QIcon::Selected);
    }
    return icons;
}

TreeAdapter::TreeAdapter(QTreeWidget* tree, const TreeIcons& icons, int pane, DropTarget* drops)
    : QObject(tree),
      tree_(tree),
      viewport_(tree->viewport()),
      icons_(icons),
      pane_(pane),
      drops_(drops) {
    tree_->setIconSize(QSize(12, 12));
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Nodes are dragged onto the other tree and files dropped from outside; the tree's own
    // drop handling never runs, the window decides.
    tree_->setDragEnabled(drops_ != nullptr);
    tree_->setAcceptDrops(drops_ != nullptr);
    tree_->setDragDropMode(drops_ != nullptr ? QAbstractItemView::DragDrop
                                             : QAbstractItemView::NoDragDrop);
    tree_->setDefaultDropAction(Qt::CopyAction);
    tree_->setDropIndicatorShown(false);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setHeaderHidden(true);
    // The selection stays as visible while the other pane has the focus.
    QPalette palette = tree_->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    tree_->setPalette(palette);
    tree_->installEventFilter(this);
    viewport_->installEventFilter(this);
}

void TreeAdapter::Highlight(QTreeWidgetItem* item) {
    if (highlighted_ == item) {
        return;
    }
    if (highlighted_ != nullptr) {
        // Back to the mark's colour, or to none.
        highlighted_->setBackground(
            0, MarkBrush(static_cast<Mark>(highlighted_->data(0, kMarkRole).toInt())));
    }
    highlighted_ = item;
    if (highlighted_ != nullptr) {
        highlighted_->setBackground(
            0, tree_->palette().brush(QPalette::Active, QPalette::Highlight).color().lighter(160));
    }
}

bool TreeAdapter::DragEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            QTreeWidgetItem* item = tree_->itemAt(drag->position().toPoint());
            bool highlight = false;
            if (drops_->MayDrop(pane_, drag->mimeData(), drag->source(), item, &highlight)) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            Highlight(highlight ? item : nullptr);
            return true;
        }
        case QEvent::DragLeave:
            Highlight(nullptr);
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            Highlight(nullptr);
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            drops_->Drop(pane_, drop->mimeData(), drop->source(),
                         tree_->itemAt(drop->position().toPoint()));
            return true;
        }
        default:
            return false;
    }
}

bool TreeAdapter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // Only the tooltips the adapter set (bank names that differ); not the view's own for
        // texts it cuts off.
        const auto* help = static_cast<QHelpEvent*>(event);
        const QTreeWidgetItem* item = watched == viewport_ ? tree_->itemAt(help->pos()) : nullptr;
        return item == nullptr || item->toolTip(0).isEmpty();
    }
    if (watched == viewport_ && drops_ != nullptr && DragEvent(event)) {
        return true;
    }
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter opens or closes the current node; it never reaches the dialog.
            if (QTreeWidgetItem* item = tree_->currentItem(); item && item->childCount() > 0) {
                item->setExpanded(!item->isExpanded());
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TreeAdapter::Rebuild(const ui::Forest& forest) {
    highlighted_ = nullptr;
    tree_->setUpdatesEnabled(false);
    tree_->clear();
    QList<QTreeWidgetItem*> banks;
    banks.reserve(static_cast<qsizetype>(forest.size()));
    for (const auto& bank : forest) {
        banks.append(MakeItem(bank, icons_, comparing_));
    }
    tree_->addTopLevelItems(banks);
    tree_->setUpdatesEnabled(true);
}

QTreeWidgetItem* TreeAdapter::ItemAt(const ui::NodePath& path) const {
    QTreeWidgetItem* item = tree_->topLevelItem(path.bank);
    if (item != nullptr && path.child >= 0) {
        item = item->child(path.child);
    }
    if (item != nullptr && path.pattern >= 0) {
        item = item->child(path.pattern);
    }
    return item;
}

void TreeAdapter::Apply(const ui::Forest& forest, const std::vector<ui::NodeChange>& changes) {
    for (const auto& change : changes) {
        const ui::TreeNode* node = ui::FindNode(forest, change.path);
        QTreeWidgetItem* item = ItemAt(change.path);
        if (node == nullptr || item == nullptr) {
            continue;
        }
        if (change.icon) {
            item->setIcon(0, icons_[static_cast<std::size_t>(node->icon)]);
        }
        if (change.text) {
            item->setText(0, ToDisplay(node->text));
        }
        if (change.mark && comparing_) {
            PaintMark(item, *node);
        }
    }
}

void TreeAdapter::ShowComparing(bool on, const ui::Forest& forest) {
    comparing_ = on;
    highlighted_ = nullptr;
    tree_->setColumnCount(on ? 2 : 1);
    tree_->setHeaderHidden(!on);
    if (on) {
        tree_->setHeaderLabels({QString(), tr("Compared")});
        // The node texts keep their room; the marks take the rest.
        tree_->header()->setStretchLastSection(true);
        tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    }
    for (int b = 0; b < tree_->topLevelItemCount() && b < static_cast<int>(forest.size()); ++b) {
        ForEachItem(tree_->topLevelItem(b), forest[static_cast<std::size_t>(b)],
                    [on](QTreeWidgetItem* item, const ui::TreeNode& node) {
                        if (on) {
                            PaintMark(item, node);
                        } else {
                            ClearMark(item);
                        }
                    });
    }
}

void TreeAdapter::Select(const ui::NodePath& path) {
    if (QTreeWidgetItem* item = ItemAt(path)) {
        for (QTreeWidgetItem* above = item->parent(); above != nullptr; above = above->parent()) {
            above->setExpanded(true);
        }
        tree_->setCurrentItem(item);
        tree_->scrollToItem(item);
    }
}

std::optional<ui::ItemTag> TreeAdapter::SelectedTag() const {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return static_cast<ui::ItemTag>(selected.first()->type());
}

}  // namespace korvel::qt

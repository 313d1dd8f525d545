#include "tree_adapter.h"

#include "resources.h"
#include "text_codec.h"

#include <QDropEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QPixmap>
#include <QTreeWidget>

namespace korvel::qt {

namespace {

// The ItemTag is the item's type: a per-item integer fixed when the item is made, which costs
// nothing more to store. Every tag has a kind bit of 0x1000 or above, so it is also above
// QTreeWidgetItem::UserType, as types of one's own must be.
QTreeWidgetItem* MakeItem(const ui::TreeNode& node, const TreeIcons& icons) {
    auto* item = new QTreeWidgetItem(static_cast<int>(node.tag));
    item->setText(0, ToDisplay(node.text));
    item->setIcon(0, icons[static_cast<std::size_t>(node.icon)]);
    if (!node.children.empty()) {
        QList<QTreeWidgetItem*> children;
        children.reserve(static_cast<qsizetype>(node.children.size()));
        for (const auto& child : node.children) {
            children.append(MakeItem(child, icons));
        }
        item->addChildren(children);
    }
    return item;
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
        highlighted_->setData(0, Qt::BackgroundRole, QVariant());
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
        return true;
    }
    if (watched == viewport_ && drops_ != nullptr && DragEvent(event)) {
        return true;
    }
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (keys_ && keys_(*key)) {
            return true;
        }
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
        banks.append(MakeItem(bank, icons_));
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

// Mirrors a pane's node forest in a QTreeWidget: text, icon and ItemTag per item.
#pragma once

#include "dump_tree.h"

#include <Qt>

#include <QIcon>
#include <QObject>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QMimeData;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvel::qt {

// Where an item keeps its mark, so that a drag's highlight can give the colour back.
inline constexpr int kMarkRole = Qt::UserRole + 1;

// The twelve 12 x 12 pictures of the tree icon strip, by icon index.
using TreeIcons = std::array<QIcon, 12>;
TreeIcons LoadTreeIcons();

// What the window does with drags over a tree: nodes of the other tree, and files.
class DropTarget {
  public:
    virtual ~DropTarget() = default;
    // Whether a drop of `dropped` from `source` onto `item` (null: no node) of this pane's tree
    // may happen, and whether the item is highlighted as one that would take it.
    virtual bool MayDrop(int pane, const QMimeData* dropped, QObject* source, QTreeWidgetItem* item,
                         bool* highlight) = 0;
    virtual void Drop(int pane, const QMimeData* dropped, QObject* source,
                      QTreeWidgetItem* item) = 0;
};

class TreeAdapter : public QObject {
  public:
    TreeAdapter(QTreeWidget* tree, const TreeIcons& icons, int pane, DropTarget* drops);

    // Replaces every item; all collapsed, nothing selected.
    void Rebuild(const ui::Forest& forest);
    // Updates only the items whose icon or text changed; selection and expansion stay.
    void Apply(const ui::Forest& forest, const std::vector<ui::NodeChange>& changes);
    std::optional<ui::ItemTag> SelectedTag() const;
    // Shows the "Compared" column and the marks' colours, or takes them away.
    void ShowComparing(bool on, const ui::Forest& forest);
    // Selects the node, opening what is closed above it, and scrolls it into view.
    void Select(const ui::NodePath& path);

    QTreeWidgetItem* ItemAt(const ui::NodePath& path) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Handles the drag events of the viewport; true when the tree itself must not see them.
    bool DragEvent(QEvent* event);
    void Highlight(QTreeWidgetItem* item);

    QTreeWidget* tree_;
    // Kept, since the filter still sees the viewport's last events while the tree is torn down.
    QWidget* viewport_;
    const TreeIcons& icons_;
    int pane_;
    DropTarget* drops_;
    QTreeWidgetItem* highlighted_ = nullptr;
    bool comparing_ = false;
};

}  // namespace korvel::qt

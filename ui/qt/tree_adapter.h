// Mirrors a pane's node forest in a QTreeWidget: text, icon and ItemTag per item.
#pragma once

#include "dump_tree.h"

#include <QIcon>
#include <QObject>

#include <array>
#include <optional>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace korvel::qt {

// The twelve 12 x 12 pictures of the tree icon strip, by icon index.
using TreeIcons = std::array<QIcon, 12>;
TreeIcons LoadTreeIcons();

class TreeAdapter : public QObject {
  public:
    TreeAdapter(QTreeWidget* tree, const TreeIcons& icons);

    // Replaces every item; all collapsed, nothing selected.
    void Rebuild(const ui::Forest& forest);
    // Updates only the items whose icon or text changed; selection and expansion stay.
    void Apply(const ui::Forest& forest, const std::vector<ui::NodeChange>& changes);
    std::optional<ui::ItemTag> SelectedTag() const;

    QTreeWidgetItem* ItemAt(const ui::NodePath& path) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTreeWidget* tree_;
    const TreeIcons& icons_;
};

}  // namespace korvel::qt

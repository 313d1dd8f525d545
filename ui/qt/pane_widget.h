// One pane of the window, built from the pane form: the file name, the tree and a button for
// each of the pane's commands. Each command is one action carrying its text, keys and tooltip;
// the buttons take them from there, and Qt dispatches the keys while the tree has the focus.
#pragma once

#include "commands.h"

#include "tree_adapter.h"

#include <QGroupBox>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace Ui {
class PaneForm;
}

namespace korvel::qt {

class PaneWidget : public QGroupBox {
  public:
    explicit PaneWidget(QWidget* parent = nullptr);
    ~PaneWidget() override;

    // Names the pane's widgets after its side ("Left", "Right"), mirrors the forest through a
    // tree adapter, and makes an action of each pane command of the core's table, which `run`
    // runs; a command with a button shows on the pane form's button of its name.
    void Setup(int pane, const QString& side, const TreeIcons& icons, DropTarget* drops,
               std::function<void(ui::CommandId)> run);

    // The pane's action for a pane command; null for a window command.
    QAction* Action(ui::CommandId command) const;
    TreeAdapter& Tree() const { return *adapter_; }
    QTreeWidget* TreeWidget() const;
    QLineEdit* FileNameBox() const;

    // Undo and Redo with what they would do ("Undo copy of B01 T03 into B04 T01"); disabled
    // for an empty text.
    void ShowSteps(const QString& undoText, const QString& redoText);

    // A mark at the end of the file name box while the dump has unsaved changes; the box's
    // accessible description says the same.
    void ShowUnsaved(bool unsaved);

    // The Open button's menu (Open Recent, Backups): `makeMenu` builds it when the button is
    // clicked with the right button or pressed and held. The menu pops up below the button and
    // goes when it closes.
    void OfferRecent(std::function<QMenu*(QWidget* parent)> makeMenu);

    // Gives the action's keys to the tree: they act while it or a child has the focus.
    void AddTreeKeys(QAction* action);

  private:
    void PopUpRecent();

    std::unique_ptr<Ui::PaneForm> ui_;
    QAction* unsavedMark_ = nullptr;
    QTimer* holdTimer_ = nullptr;
    std::function<QMenu*(QWidget*)> makeRecentMenu_;
    std::map<ui::CommandId, QAction*> actions_;
    TreeAdapter* adapter_ = nullptr;
};

// The tooltip of an action: its description and its keys, "Save the left dump (Ctrl+S)".
QString TipWithKeys(const QString& description, const QAction& action);

// A push button that shows an action: its text, tooltip and enabled state, and triggers it.
void ShowAction(QPushButton* button, QAction* action);

// An action for a command of the core's table: its text, its keys, and its tooltip with the
// keys, "%1" taking `side`.
QAction* MakeCommandAction(const ui::Command& command, const QString& side, QObject* parent);

}  // namespace korvel::qt

// The Korvel window: two panes, the transfer buttons between them and a status line. It only
// puts the core's state on screen and forwards every button to the core's commands.
#pragma once

#include "ini_file.h"
#include "workbench.h"
#include "midi_port.h"

#include "file_chooser.h"
#include "pane_widget.h"
#include "tree_adapter.h"
#include "window_prompts.h"
#include "window_services.h"

#include <QDialog>
#include <QStringList>
#include <QUrl>
#include <QString>

#include <array>
#include <map>
#include <memory>

namespace Ui {
class MainDialog;
}

namespace korvel::qt {

// Where the settings live: the executable's base name with ".INI" in the user's configuration
// folder.
QString DefaultSettingsPath();

class MainWindow : public QDialog, public ui::PaneViews, public DropTarget {
  public:
    explicit MainWindow(const QString& settingsPath, QWidget* parent = nullptr);
    ~MainWindow() override;

    const ui::Workbench& core() const { return core_; }
    ui::Workbench& core() { return core_; }
    void SetFileChooser(std::unique_ptr<FileChooser> chooser) {
        services_.SetFileChooser(std::move(chooser));
    }
    // The MIDI ports are opened on first use; tests put a system of their own in first.
    void SetMidiSystem(std::unique_ptr<midi::MidiSystem> midi) {
        services_.SetMidiSystem(std::move(midi));
    }

    // Escape and the close box end the program, after the core's question about unsaved work.
    void reject() override;
    void done(int result) override;

    // Files named on the command line: the first into the left pane, the second into the right.
    void OpenAtStart(const QStringList& files);

    // DropTarget
    bool MayDrop(int pane, const QMimeData* dropped, QObject* source, QTreeWidgetItem* item,
                 bool* highlight) override;
    void Drop(int pane, const QMimeData* dropped, QObject* source, QTreeWidgetItem* item) override;

    // PaneViews
    std::optional<ui::ItemTag> SelectedTag(int pane) override;
    void ShowStatus(const std::string& line) override;
    void ShowFileName(int pane, const std::string& name) override;
    void ShowUnsaved(int pane, bool unsaved) override;
    void TreeRebuilt(int pane) override;
    void TreeRefreshed(int pane, const std::vector<ui::NodeChange>& changes) override;
    void HistoryChanged(int pane) override;
    void ComparingChanged(bool on) override;
    void SelectNode(int pane, const ui::NodePath& path) override;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
#if defined(Q_OS_WIN)
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

  private:
    // Writes the settings and frees the images, once.
    void Finish();
    void SetUpPanes();
    void SetUpWindowCommands();
    void AddWindowMenu();
    void SetStartSize();
    void AddUndoKeys();
    void AddNodeMenus();
    void ShowNodeMenu(int pane, const QPoint& at);
    // The pane's Open button menu: Open Recent and Backups, from the core's lists.
    QMenu* OpenMenu(int pane, QWidget* parent);
    QMenu* RecentMenu(int pane, QWidget* parent);
    QMenu* BackupsMenu(int pane, QWidget* parent);
    void RestorePlace();
    // What is dragged: nodes of one of the trees, or files from outside.
    ui::Drag DragOf(const QMimeData* dropped, QObject* source) const;
    // The pane whose tree or buttons last had the focus; the keys of Undo and Redo act there.
    int FocusedPane() const {
        return focusedPane_;
    }
    void NoteFocus(QWidget* widget);

    std::unique_ptr<Ui::MainDialog> ui_;
    TreeIcons icons_;
    std::array<PaneWidget*, 2> panes_{};
    std::map<ui::CommandId, QAction*> windowActions_;
    ui::IniFile settings_;
    QString settingsPath_;
    WindowPrompts prompts_{this};
    WindowServices services_{this};
    ui::Workbench core_;
    bool finished_ = false;
    int focusedPane_ = ui::kLeftPane;
};

}  // namespace korvel::qt

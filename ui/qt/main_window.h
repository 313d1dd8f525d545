// The Korvel window: two panes, the transfer buttons between them and a status line. It only
// puts the core's state on screen and forwards every button to the core's commands.
#pragma once

#include "host.h"
#include "ini_file.h"
#include "main_dialog.h"
#include "midi_clock.h"
#include "midi_port.h"

#include "file_chooser.h"
#include "pane_widget.h"
#include "tree_adapter.h"

#include <QDialog>
#include <QStringList>
#include <QUrl>
#include <QString>

#include <array>
#include <memory>

namespace Ui {
class MainDialog;
}

namespace korvel::qt {

// Where the settings live: the executable's base name with ".INI" in the user's configuration
// folder.
QString DefaultSettingsPath();

class MainWindow : public QDialog, public ui::Host, public DropTarget {
  public:
    explicit MainWindow(const QString& settingsPath, QWidget* parent = nullptr);
    ~MainWindow() override;

    const ui::MainDialog& core() const { return core_; }
    void SetFileChooser(std::unique_ptr<FileChooser> chooser);

    // Escape and the close box end the program, after the core's question about unsaved work.
    void reject() override;
    void done(int result) override;

    void ShowAbout();
    // Files named on the command line: the first into the left pane, the second into the right.
    void OpenAtStart(const QStringList& files);

    // DropTarget
    bool MayDrop(int pane, const QMimeData* dropped, QObject* source, QTreeWidgetItem* item,
                 bool* highlight) override;
    void Drop(int pane, const QMimeData* dropped, QObject* source, QTreeWidgetItem* item) override;

    // Host
    std::optional<std::string> ChooseOpenFile(int pane, const std::string& folder) override;
    std::optional<std::string> ChooseSaveFile(int pane, const std::string& folder,
                                              const std::string& proposedName) override;
    void ShowMessage(const std::string& text, const std::string& caption,
                     ui::Severity severity) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    std::optional<int> RunLayoutDialog(int choice) override;
    std::optional<std::string> RunRenameDialog(const std::string& text) override;
    std::optional<ui::ItemTag> SelectedTag(int pane) override;
    void ShowStatus(const std::string& line) override;
    void ShowFileName(int pane, const std::string& name) override;
    void ShowUnsaved(int pane, bool unsaved) override;
    void TreeRebuilt(int pane) override;
    void TreeRefreshed(int pane, const std::vector<ui::NodeChange>& changes) override;
    void HistoryChanged(int pane) override;
    void ComparingChanged(bool on) override;
    void SelectNode(int pane, const ui::NodePath& path) override;
    bool AskToProceed(const std::string& text, const std::string& caption,
                      const std::string& proceedLabel, const std::string& cancelLabel) override;
    midi::MidiSystem& Midi() override;
    midi::Clock& MidiClock() override { return clock_; }
    void RunReceiveDialog(ui::ReceiveRun& run, const midi::MidiPortList& ports,
                          const std::string& preselected, ui::ReceivePurpose purpose) override;
    void RunSendDialog(midi::SendSession& session, const std::string& port) override;
    std::optional<ui::MidiSettings> RunMidiSetup(const ui::MidiSettings& settings,
                                                 const midi::MidiPortList& ports) override;
    std::string ReceivedFolder() override;
    std::string LocalTimeStamp() override;

    // The MIDI ports are opened on first use; tests put a system of their own in first.
    void SetMidiSystem(std::unique_ptr<midi::MidiSystem> midi);

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
    void SetUpTransfers();
    void SetUpCompare();
    void AddAboutEntries();
    void SetStartSize();
    void AddUndoKeys();
    void AddTreeKeysAndMenus();
    void ShowNodeMenu(int pane, const QPoint& at);
    // The pane's Open Recent menu, from the core's list.
    QMenu* RecentMenu(int pane, QWidget* parent);
    void RestorePlace();
    // The pane a node drag comes from: the tree it started in, or -1.
    int PaneOf(QObject* source) const;
    void OpenDroppedFiles(int pane, const QList<QUrl>& urls);
    // The pane whose tree or buttons last had the focus; the keys of Undo and Redo act there.
    int FocusedPane() const {
        return focusedPane_;
    }
    void NoteFocus(QWidget* widget);

    std::unique_ptr<Ui::MainDialog> ui_;
    TreeIcons icons_;
    std::array<PaneWidget*, 2> panes_{};
    // "-->" and "<--": the source pane's selection onto the other pane's.
    std::array<QAction*, 2> transfers_{};
    QAction* compare_ = nullptr;
    // F8 and Shift+F8 in each tree: the next and the previous difference.
    std::array<std::array<QAction*, 2>, 2> differences_{};
    ui::IniFile settings_;
    QString settingsPath_;
    std::unique_ptr<FileChooser> fileChooser_ = std::make_unique<DialogFileChooser>();
    std::unique_ptr<midi::MidiSystem> midi_;
    midi::SteadyClock clock_;
    ui::MainDialog core_;
    bool finished_ = false;
    int focusedPane_ = ui::kLeftPane;
};

}  // namespace korvel::qt

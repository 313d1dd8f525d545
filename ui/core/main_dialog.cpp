#include "main_dialog.h"

#include "atomic_file.h"
#include "bank_names.h"
#include "edits.h"
#include "side_file.h"

#include "messages.h"
#include "receive_run.h"
#include "send_session.h"

#include <filesystem>

namespace korvel::ui {

namespace {

const char* PaneName(int pane) {
    return pane == kLeftPane ? "left" : "right";
}

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

std::string FileNameOf(const std::string& path) {
    const auto separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderOf(const std::string& path) {
    const auto separator = LastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

}  // namespace

void MainDialog::Start(SettingsStore& settings) {
    const PaneSettings stored = ReadSettings(settings);
    for (int p = 0; p < 2; ++p) {
        At(p).folder = stored.folders[static_cast<std::size_t>(p)];
    }
    for (int p = 0; p < 2; ++p) {
        At(p).image->SetLayoutChoice(stored.layoutValues[static_cast<std::size_t>(p)]);
    }
    midi_ = ReadMidiSettings(settings);
    RebuildTree(kLeftPane);
    RebuildTree(kRightPane);
}

bool MainDialog::MayEnd() {
    const bool left = IsChanged(kLeftPane);
    const bool right = IsChanged(kRightPane);
    if (!left && !right) {
        return true;
    }
    const std::string which = left && right ? "The left and the right dump have"
                              : left        ? "The left dump has"
                                            : "The right dump has";
    return host_.AskYesNo(which + " unsaved changes.\nEnd Korvel and discard them?",
                          kKorvelCaption);
}

void MainDialog::End(SettingsStore& settings) {
    PaneSettings values;
    for (int p = 0; p < 2; ++p) {
        values.folders[static_cast<std::size_t>(p)] = At(p).folder;
        values.layoutValues[static_cast<std::size_t>(p)] = At(p).image->GetLayoutChoice();
    }
    WriteSettings(settings, values);
    WriteMidiSettings(settings, midi_);
    At(kLeftPane).image.reset();
    At(kRightPane).image.reset();
}

bool MainDialog::MayDiscard(int pane) {
    if (!IsChanged(pane)) {
        return true;
    }
    return host_.AskYesNo(
        std::string("The ") + PaneName(pane) + " dump has unsaved changes.\nDiscard them?",
        kKorvelCaption);
}

void MainDialog::RebuildTree(int pane) {
    At(pane).tree = Rebuild(*At(pane).image);
    host_.TreeRebuilt(pane);
}

void MainDialog::RefreshTree(int pane, TextRule texts) {
    const auto changes = Refresh(*At(pane).image, At(pane).tree, texts);
    host_.TreeRefreshed(pane, changes);
}

void MainDialog::Record(int pane, std::string label, ImageChange change) {
    if (change.IsEmpty()) {
        return;
    }
    At(pane).history.Push({std::move(label), std::move(change)});
    host_.HistoryChanged(pane);
}

void MainDialog::OnOpen(int pane) {
    if (!MayDiscard(pane)) {
        return;
    }
    if (const auto path = host_.ChooseOpenFile(pane, At(pane).folder)) {
        OpenFile(pane, *path, false);
    }
}

void MainDialog::OpenAtStart(int pane, const std::string& path) {
    OpenFile(pane, path, true);
}

void MainDialog::OnDropFile(int pane, const std::string& path) {
    if (MayDiscard(pane)) {
        OpenFile(pane, path, true);
    }
}

void MainDialog::OpenFile(int pane, const std::string& path, bool sayWhyNot) {
    auto image = std::make_unique<DumpImage>();
    const LoadResult loaded = loader_(*image, path);
    if (loaded.status == LoadStatus::cannotOpen || loaded.status == LoadStatus::notRegular) {
        // The chooser offered the file, so its failure needs no message; a file named from
        // outside does.
        if (sayWhyNot) {
            host_.ShowStatus(loaded.message);
        }
        return;
    }
    if (loaded.status == LoadStatus::noMemory) {
        host_.ShowMessage(loaded.message, kErrorCaption);
        return;
    }
    if (!loaded.ok()) {
        // Nothing of a file read only in part is shown, so it cannot be saved over the file.
        host_.ShowMessage(loaded.message, kReadErrorCaption);
        return;
    }
    Pane& target = At(pane);
    target.image = std::move(image);
    ReadBankNamesBeside(*target.image, path);
    RebuildTree(pane);
    target.fileName = FileNameOf(path);
    host_.ShowFileName(pane, target.fileName);
    target.folder = FolderOf(path);
    target.lastFile = path;
    target.proposedName.clear();
    target.history.Clear();
    host_.HistoryChanged(pane);
    host_.ShowStatus(SkippedSummary(loaded.report));
}

void MainDialog::OnSave(int pane) {
    Pane& target = At(pane);
    const std::string startFolder = FolderOf(target.lastFile);
    const auto path = host_.ChooseSaveFile(
        pane, startFolder, target.fileName.empty() ? target.proposedName : target.fileName);
    if (!path) {
        return;
    }
    const DumpSaveResult saved = SaveDumpWithBankNames(*target.image, *path);
    if (!saved.dump.ok) {
        host_.ShowMessage("The dump could not be saved as\n" + *path + "\n\n" + saved.dump.reason,
                          kErrorCaption);
        return;
    }
    target.fileName = FileNameOf(*path);
    host_.ShowFileName(pane, target.fileName);
    target.lastFile = *path;
    target.proposedName.clear();
    target.history.MarkSaved();
    if (!saved.names.ok) {
        host_.ShowStatus("Saved " + target.fileName +
                         ", but the bank names could not be written to " +
                         FileNameOf(saved.sideFile) + ": " + saved.names.reason);
    } else {
        host_.ShowStatus("Saved " + target.fileName);
    }
}

void MainDialog::OnNew(int pane) {
    if (!MayDiscard(pane)) {
        return;
    }
    Pane& target = At(pane);
    target.image = std::make_unique<DumpImage>();
    RebuildTree(pane);
    target.fileName.clear();
    target.proposedName.clear();
    host_.ShowFileName(pane, target.fileName);
    target.history.Clear();
    host_.HistoryChanged(pane);
}

void MainDialog::OnDelete(int pane) {
    const Item selected = DecodeSelection(host_.SelectedTag(pane));
    EditResult deleted = DeleteItem(*At(pane).image, selected);
    if (deleted.status == EditStatus::refused) {
        return;
    }
    Record(pane, "delete of " + ItemName(selected), std::move(deleted.change));
    RefreshTree(pane);
}

void MainDialog::OnRename(int pane) {
    const Item selected = DecodeSelection(host_.SelectedTag(pane));
    if (selected.kind != ItemKind::bank) {
        host_.ShowMessage(kOnlyBanksMessage, kKorvelCaption);
        return;
    }
    DumpImage& image = *At(pane).image;
    const auto text = host_.RunRenameDialog(VisibleBankText(image.GetBankName(selected.bank)));
    if (!text) {
        return;
    }
    EditResult renamed = RenameBank(image, selected.bank, *text);
    Record(pane, "rename of " + ItemName(selected), std::move(renamed.change));
    RefreshTree(pane);
}

void MainDialog::OnMemLayout(int pane) {
    DumpImage& image = *At(pane).image;
    const auto choice = host_.RunLayoutDialog(image.GetLayoutChoice());
    if (!choice) {
        return;
    }
    image.SetLayoutChoice(*choice);
    RebuildTree(pane);
}

void MainDialog::OnTransfer(int sourcePane, int destinationPane) {
    const auto sourceTag = host_.SelectedTag(sourcePane);
    const auto destinationTag = host_.SelectedTag(destinationPane);
    if (sourceTag && destinationTag) {
        Transfer(sourcePane, *sourceTag, destinationPane, *destinationTag);
    }
}

void MainDialog::OnDropTransfer(int sourcePane, int destinationPane, ItemTag target) {
    const auto sourceTag = host_.SelectedTag(sourcePane);
    if (sourceTag && sourcePane != destinationPane) {
        Transfer(sourcePane, *sourceTag, destinationPane, target);
    }
}

bool MainDialog::WouldAcceptDrop(int sourcePane, int destinationPane, ItemTag target) const {
    const auto sourceTag = host_.SelectedTag(sourcePane);
    if (!sourceTag || sourcePane == destinationPane) {
        return false;
    }
    return MayTransfer(image(sourcePane), SplitItemTag(*sourceTag), image(destinationPane),
                       SplitItemTag(target));
}

void MainDialog::Transfer(int sourcePane, ItemTag sourceTag, int destinationPane,
                          ItemTag destinationTag) {
    const Item from = SplitItemTag(sourceTag);
    const Item to = SplitItemTag(destinationTag);
    EditResult copied = TransferItem(*At(destinationPane).image, *At(sourcePane).image, from, to);
    if (copied.status == EditStatus::refused) {
        if (!copied.refusal.empty()) {
            host_.ShowMessage(copied.refusal, kErrorCaption);
        }
        return;
    }
    const bool done = copied.IsDone();
    const std::string stopText = done ? std::string() : StoppedCopyText(copied);
    // A copy that stopped part way has changed the image too: what it copied is one step.
    Record(destinationPane, "copy of " + ItemName(from) + " into " + ItemName(to),
           std::move(copied.change));
    RefreshTree(destinationPane);
    host_.ShowStatus(stopText);
}

void MainDialog::OnUndo(int pane) {
    UndoOrRedo(pane, true);
}

void MainDialog::OnRedo(int pane) {
    UndoOrRedo(pane, false);
}

void MainDialog::UndoOrRedo(int pane, bool undo) {
    History& history = At(pane).history;
    DumpImage& image = *At(pane).image;
    const HistoryStep* step = undo ? history.Undo(image) : history.Redo(image);
    if (step == nullptr) {
        return;
    }
    // Texts a step put in go away with it, so the tree reads as it did before the step.
    RefreshTree(pane, TextRule::restoreDefaults);
    host_.HistoryChanged(pane);
    host_.ShowStatus((undo ? "Undid " : "Redid ") + step->label);
}

std::string MainDialog::UndoText(int pane) const {
    const HistoryStep* step = this->pane(pane).history.NextUndo();
    return step != nullptr ? "Undo " + step->label : std::string();
}

std::string MainDialog::RedoText(int pane) const {
    const HistoryStep* step = this->pane(pane).history.NextRedo();
    return step != nullptr ? "Redo " + step->label : std::string();
}

void MainDialog::OnMidiSetup() {
    if (const auto chosen = host_.RunMidiSetup(midi_, host_.Midi().ListPorts())) {
        midi_ = *chosen;
    }
}

std::string MainDialog::BackUpReceived(const ReceiveRun& run, const std::string& stamp) {
    const std::string folder = host_.ReceivedFolder();
    std::error_code error;
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
    }
    const std::string path =
        (folder.empty() ? std::string() : folder + "/") + "W2 " + stamp + ".syx";
    const std::vector<std::uint8_t> kept = run.Session()->Kept();
    const WriteResult written = ReplaceFileWithBytes(path, kept);
    if (!written.ok) {
        host_.ShowMessage("What arrived could not be backed up as\n" + path + "\n\n" +
                              written.reason + "\n\nIt is in the pane; save it from there.",
                          kErrorCaption);
        return {};
    }
    return path;
}

void MainDialog::OnReceive(int pane) {
    if (!MayDiscard(pane)) {
        return;
    }
    const MidiPortList ports = host_.Midi().ListPorts();
    ReceiveRun run(host_.Midi(), host_.MidiClock(), std::chrono::milliseconds(midi_.idleMs));
    host_.RunReceiveDialog(run, ports, midi_.inputPort);
    if (!run.Port().empty()) {
        midi_.inputPort = run.Port();
    }
    const ReceiveSession* session = run.Session();
    if (session == nullptr || session->NothingArrived()) {
        return;  // nothing came: the pane stays exactly as it was
    }
    // What came is kept on disk before anything else, even after a cancel.
    const std::string stamp = host_.LocalTimeStamp();
    const std::string backup = BackUpReceived(run, stamp);
    Pane& target = At(pane);
    auto image = std::make_unique<DumpImage>();
    const std::vector<std::uint8_t> messages = session->Messages();
    (void)image->Load(messages);
    target.image = std::move(image);
    RebuildTree(pane);
    target.fileName.clear();
    host_.ShowFileName(pane, target.fileName);
    target.proposedName = "W2 " + stamp.substr(0, 16) + ".syx";
    target.history.Clear();
    target.history.MarkNeverSaved();
    host_.HistoryChanged(pane);
    if (session->End() == ReceiveEnd::tooLarge) {
        host_.ShowMessage(kReceiveLimitText, kErrorCaption);
    }
    const std::size_t held = target.image->MessagesInSaveOrder().size();
    host_.ShowStatus("Received " + std::to_string(held) + " messages from " + run.Port() +
                     (backup.empty() ? std::string() : "; all that came is kept in " + backup));
}

void MainDialog::OnSend(int pane) {
    const auto pause = std::chrono::milliseconds(midi_.pauseMs);
    const SendPlan plan = PlanSend(*At(pane).image, pause);
    if (plan.messages.empty()) {
        host_.ShowMessage("The dump holds no messages; there is nothing to send.", kKorvelCaption);
        return;
    }
    if (midi_.outputPort.empty()) {
        OnMidiSetup();
        if (midi_.outputPort.empty()) {
            return;
        }
    }
    const std::string port = midi_.outputPort;
    if (!host_.AskToProceed(SendQuestion(plan, PaneName(pane), port), kKorvelCaption, "Send")) {
        return;
    }
    std::string reason;
    const auto output = host_.Midi().OpenOutput(port, reason);
    if (!output) {
        host_.ShowMessage(port + " cannot be opened: " + reason, kErrorCaption);
        return;
    }
    if (const auto refusal = SendRefusal(plan, port, output->MaxMessageLength())) {
        host_.ShowMessage(*refusal, kErrorCaption);
        return;
    }
    SendSession session(*output, host_.MidiClock(), plan.messages, pause);
    host_.RunSendDialog(session, port);
    host_.ShowStatus(session.SummaryText(port));
}

}  // namespace korvel::ui

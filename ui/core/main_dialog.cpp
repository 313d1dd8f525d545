#include "main_dialog.h"

#include "atomic_file.h"
#include "bank_names.h"
#include "count_text.h"
#include "dump_check.h"
#include "edits.h"
#include "paths.h"

#include "messages.h"
#include "receive_run.h"

#include "port_match.h"
#include "send_session.h"

#include <algorithm>
#include <filesystem>

namespace korvel::ui {

namespace {

const char* PaneName(int pane) {
    return pane == kLeftPane ? "left" : "right";
}

// The port a remembered name stands for now, as the MIDI layer's matcher finds it; the
// remembered name itself when none is found, so that opening it says why.
std::string FoundPort(const std::vector<std::string>& ports, const std::string& remembered) {
    return midi::MatchPort(ports, remembered).name.value_or(remembered);
}

}  // namespace

MainDialog::MainDialog(Host& host, DumpLoader loader) : MainDialog(host, host, host) {
    for (auto& pane : panes_) {
        pane.document.SetLoader(loader);
    }
}

MainDialog::MainDialog(Prompts& prompts, PaneViews& views, Services& services)
    : prompts_(prompts), views_(views), services_(services) {
    Listen(kLeftPane);
    Listen(kRightPane);
}

void MainDialog::Listen(int pane) {
    At(pane).document.SetListener([this, pane](const DocumentEvent& event) { Show(pane, event); });
}

void MainDialog::Show(int pane, const DocumentEvent& event) {
    const bool contentChanged = event.change != DocumentChange::saved;
    if (contentChanged) {
        Recompare();
    }
    switch (event.change) {
        case DocumentChange::replaced:
            RebuildTree(pane);
            views_.ShowFileName(pane, document(pane).FileName());
            break;
        case DocumentChange::layout:
            RebuildTree(pane);
            break;
        case DocumentChange::edited:
            RefreshTree(pane, TextRule::keepShown);
            break;
        case DocumentChange::restored:
            // Texts a step put in go away with it, so the tree reads as it did before the step.
            RefreshTree(pane, TextRule::restoreDefaults);
            break;
        case DocumentChange::saved:
            views_.ShowFileName(pane, document(pane).FileName());
            break;
    }
    if (event.historyMoved) {
        views_.HistoryChanged(pane);
    }
    views_.ShowUnsaved(pane, IsChanged(pane));
    if (contentChanged && IsComparing()) {
        // The other tree's marks follow, and the status line says what differs now.
        RefreshTree(1 - pane, TextRule::keepShown);
        Say({});
    }
}

void MainDialog::Recompare() {
    if (IsComparing()) {
        comparison_ = Comparison::Of(image(kLeftPane), image(kRightPane));
    }
}

std::optional<ComparedSide> MainDialog::SideOf(int pane) const {
    if (!comparison_) {
        return std::nullopt;
    }
    return ComparedSide{*comparison_, pane == kLeftPane ? kLeftSide : kRightSide,
                        image(1 - pane).Layout()};
}

void MainDialog::Say(const std::string& text) {
    if (!comparison_) {
        views_.ShowStatus(text);
        return;
    }
    // A tree under fewer banks hides the playlist sets of the others: the one with the fewest
    // says how many of the differences it cannot show.
    const MemoryLayout fewest = image(kLeftPane).BankCount() <= image(kRightPane).BankCount()
                                    ? image(kLeftPane).Layout()
                                    : image(kRightPane).Layout();
    const std::string summary = "Compared: " + comparison_->Summary(fewest);
    views_.ShowStatus(text.empty() ? summary : text + " \u00B7 " + summary);
}

void MainDialog::OnCompare(bool on) {
    if (on == IsComparing()) {
        return;
    }
    if (on) {
        comparison_ = Comparison::Of(image(kLeftPane), image(kRightPane));
    } else {
        comparison_.reset();
    }
    for (const int pane : {kLeftPane, kRightPane}) {
        RefreshTree(pane, TextRule::keepShown);
    }
    views_.ComparingChanged(on);
    Say({});
}

void MainDialog::OnNextDifference(int pane, bool forward) {
    // Without the column the marks are found all the same; the tree just does not show them.
    const Comparison comparison =
        comparison_ ? *comparison_ : Comparison::Of(image(kLeftPane), image(kRightPane));
    const ComparedSide side{comparison, pane == kLeftPane ? kLeftSide : kRightSide,
                            image(1 - pane).Layout()};
    const Forest marked = Rebuild(image(pane), &side);
    const std::vector<SlotNode> nodes = SlotNodes(marked);
    if (nodes.empty()) {
        return;
    }
    const auto selected = views_.SelectedTag(pane);
    // The walk starts just past the selected node, whatever its kind (a bank, a track, a
    // pattern), and wraps; without a selection, before the first.
    const std::size_t count = nodes.size();
    std::size_t start = forward ? count - 1 : 0;
    if (const auto from = selected ? PathOfTag(marked, *selected) : std::nullopt) {
        const auto firstFrom = [&nodes](const NodePath& path, bool inclusive) {
            const auto it = std::find_if(nodes.begin(), nodes.end(), [&](const SlotNode& n) {
                return inclusive ? n.path >= path : n.path > path;
            });
            return static_cast<std::size_t>(it - nodes.begin());
        };
        start = forward ? firstFrom(*from, false) + count - 1 : firstFrom(*from, true);
    }
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t at = forward ? (start + step) % count : (start + count - step) % count;
        const Mark mark = nodes[at].node->mark;
        if (mark != Mark::none && mark != Mark::same) {
            views_.SelectNode(pane, nodes[at].path);
            Say({});
            return;
        }
    }
    if (const int hidden = comparison.HiddenBy(image(pane).Layout()); hidden > 0) {
        Say("Nothing this tree shows differs; " +
            Counted(static_cast<std::uint64_t>(hidden), "slot differs", "slots differ") +
            " in playlists of banks this layout does not show.");
        return;
    }
    Say("Nothing differs from the other dump.");
}

void MainDialog::Start(SettingsStore& settings) {
    const PaneSettings stored = ReadSettings(settings);
    for (int p = 0; p < 2; ++p) {
        At(p).folder = stored.folders[static_cast<std::size_t>(p)];
        At(p).recent.Read(settings, p);
    }
    for (int p = 0; p < 2; ++p) {
        ApplyLayoutChoice(p, stored.layoutValues[static_cast<std::size_t>(p)]);
    }
    midi_ = ReadMidiSettings(settings);
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
    return prompts_.AskYesNo(which + " unsaved changes.\nEnd Korvel and discard them?",
                             kKorvelCaption);
}

void MainDialog::End(SettingsStore& settings) {
    PaneSettings values;
    for (int p = 0; p < 2; ++p) {
        values.folders[static_cast<std::size_t>(p)] = At(p).folder;
        values.layoutValues[static_cast<std::size_t>(p)] = image(p).Layout().Choice();
    }
    WriteSettings(settings, values);
    WriteMidiSettings(settings, midi_);
    for (int p = 0; p < 2; ++p) {
        At(p).recent.Write(settings, p);
    }
}

bool MainDialog::MayDiscard(int pane) {
    if (!IsChanged(pane)) {
        return true;
    }
    return prompts_.AskYesNo(
        std::string("The ") + PaneName(pane) + " dump has unsaved changes.\nDiscard them?",
        kKorvelCaption);
}

void MainDialog::ApplyLayoutChoice(int pane, int choice) {
    // Anything but the three choices leaves the layout as it is; the tree is built anew all the
    // same.
    At(pane).document.SetLayout(MemoryLayout::FromChoice(choice).value_or(image(pane).Layout()));
}

void MainDialog::RebuildTree(int pane) {
    const auto side = SideOf(pane);
    At(pane).tree = Rebuild(image(pane), side ? &*side : nullptr);
    views_.TreeRebuilt(pane);
}

void MainDialog::RefreshTree(int pane, TextRule texts) {
    const auto side = SideOf(pane);
    const auto changes = Refresh(image(pane), At(pane).tree, texts, side ? &*side : nullptr);
    views_.TreeRefreshed(pane, changes);
}

void MainDialog::OnOpen(int pane) {
    if (!MayDiscard(pane)) {
        return;
    }
    if (const auto path = services_.ChooseOpenFile(pane, At(pane).folder)) {
        OpenFile(pane, *path, false);
    }
}

// Paths from outside may be relative to the working folder; the pane remembers where the file
// really lies, so that the next Open and the settings start there.
void MainDialog::OpenAtStart(int pane, const std::string& path) {
    OpenFile(pane, AbsolutePathOf(path), true);
}

void MainDialog::OnDropFile(int pane, const std::string& path) {
    if (MayDiscard(pane)) {
        OpenFile(pane, AbsolutePathOf(path), true);
    }
}

void MainDialog::OnOpenRecent(int pane, const std::string& path) {
    if (MayDiscard(pane)) {
        OpenFile(pane, path, true);
    }
}

void MainDialog::OpenFile(int pane, const std::string& path, bool sayWhyNot) {
    const LoadResult loaded = At(pane).document.Open(path);
    if (loaded.status == LoadStatus::cannotOpen || loaded.status == LoadStatus::notRegular) {
        // The chooser offered the file, so its failure needs no message; a file named from
        // outside does.
        if (sayWhyNot) {
            Say(loaded.message);
        }
        return;
    }
    if (loaded.status == LoadStatus::noMemory) {
        prompts_.ShowMessage(loaded.message, kErrorCaption, Severity::error);
        return;
    }
    if (!loaded.ok()) {
        prompts_.ShowMessage(loaded.message, kReadErrorCaption, Severity::error);
        return;
    }
    At(pane).folder = FolderOf(path);
    At(pane).saveFolder = At(pane).folder;
    At(pane).recent.Add(path);
    Say(SkippedSummary(loaded.report));
}

void MainDialog::OnSave(int pane) {
    Pane& target = At(pane);
    const std::string shownName = target.document.FileName();
    const auto path = services_.ChooseSaveFile(
        pane, target.saveFolder, shownName.empty() ? target.document.ProposedName() : shownName);
    if (!path) {
        return;
    }
    const DumpSaveResult saved = target.document.Save(*path);
    if (!saved.dump.ok) {
        prompts_.ShowMessage(
            "The dump could not be saved as\n" + *path + "\n\n" + saved.dump.reason, kErrorCaption,
            Severity::error);
        return;
    }
    target.saveFolder = FolderOf(*path);
    target.recent.Add(*path);
    const std::string fileName = target.document.FileName();
    if (!saved.names.ok) {
        Say("Saved " + fileName +
            ", but its bank names are not saved: they could not be written to " +
            FileNameOf(saved.sideFile) + ": " + saved.names.reason);
    } else {
        Say("Saved " + fileName);
    }
}

void MainDialog::OnNew(int pane) {
    if (MayDiscard(pane)) {
        At(pane).document.New();
    }
}

void MainDialog::OnDelete(int pane) {
    (void)At(pane).document.Delete(DecodeSelection(views_.SelectedTag(pane)));
}

void MainDialog::OnRename(int pane) {
    const Item selected = DecodeSelection(views_.SelectedTag(pane));
    if (!CanRename(selected)) {
        prompts_.ShowMessage(kOnlyBanksRefusal, kKorvelCaption, Severity::notice);
        return;
    }
    const auto text =
        services_.RunRenameDialog(VisibleBankText(image(pane).GetBankName(selected.bank)));
    if (text) {
        (void)At(pane).document.Rename(selected, *text);
    }
}

void MainDialog::OnMemLayout(int pane) {
    if (const auto choice = services_.RunLayoutDialog(image(pane).Layout().Choice())) {
        ApplyLayoutChoice(pane, *choice);
    }
}

void MainDialog::OnTransfer(int sourcePane, int destinationPane) {
    const auto sourceTag = views_.SelectedTag(sourcePane);
    const auto destinationTag = views_.SelectedTag(destinationPane);
    if (sourceTag && destinationTag) {
        Transfer(sourcePane, *sourceTag, destinationPane, *destinationTag);
    }
}

void MainDialog::OnDropTransfer(int sourcePane, int destinationPane, ItemTag target) {
    const auto sourceTag = views_.SelectedTag(sourcePane);
    if (sourceTag && sourcePane != destinationPane) {
        Transfer(sourcePane, *sourceTag, destinationPane, target);
    }
}

bool MainDialog::WouldAcceptDrop(int sourcePane, int destinationPane, ItemTag target) const {
    const auto sourceTag = views_.SelectedTag(sourcePane);
    if (!sourceTag || sourcePane == destinationPane) {
        return false;
    }
    return MayTransfer(image(sourcePane), SplitItemTag(*sourceTag), image(destinationPane),
                       SplitItemTag(target));
}

void MainDialog::Transfer(int sourcePane, ItemTag sourceTag, int destinationPane,
                          ItemTag destinationTag) {
    const EditResult copied = At(destinationPane)
                                  .document.Transfer(document(sourcePane), SplitItemTag(sourceTag),
                                                     SplitItemTag(destinationTag));
    if (copied.status == EditStatus::refused) {
        if (!copied.refusal.empty()) {
            prompts_.ShowMessage(copied.refusal, kErrorCaption, Severity::error);
        }
        return;
    }
    Say(copied.IsDone() ? std::string() : StoppedCopyText(copied));
}

void MainDialog::OnUndo(int pane) {
    UndoOrRedo(pane, true);
}

void MainDialog::OnRedo(int pane) {
    UndoOrRedo(pane, false);
}

void MainDialog::UndoOrRedo(int pane, bool undo) {
    Document& document = At(pane).document;
    if (const HistoryStep* step = undo ? document.Undo() : document.Redo()) {
        Say((undo ? "Undid " : "Redid ") + step->label);
    }
}

std::string MainDialog::UndoText(int pane) const {
    const HistoryStep* step = document(pane).Steps().NextUndo();
    return step != nullptr ? "Undo " + step->label : std::string();
}

std::string MainDialog::RedoText(int pane) const {
    const HistoryStep* step = document(pane).Steps().NextRedo();
    return step != nullptr ? "Redo " + step->label : std::string();
}

void MainDialog::OnMidiSetup() {
    if (const auto chosen = services_.RunMidiSetup(midi_, services_.Midi().ListPorts())) {
        midi_ = *chosen;
    }
}

std::string MainDialog::BackUpReceived(const midi::ReceiveSession& session,
                                       const std::string& stamp, bool inPane) {
    const std::string folder = services_.ReceivedFolder();
    if (const auto native = NativePathOf(folder); !folder.empty() && native) {
        std::error_code error;
        std::filesystem::create_directories(*native, error);
    }
    // Two receives within one second must not share a backup.
    const std::string path =
        UnusedPath((folder.empty() ? std::string() : folder + "/") + "W2 " + stamp, ".syx");
    const WriteResult written = ReplaceFileWithBytes(path, session.Kept());
    if (!written.ok) {
        prompts_.ShowMessage("What arrived could not be backed up as\n" + path + "\n\n" +
                                 written.reason +
                                 (inPane ? "\n\nIt is in the pane; save it from there." : ""),
                             kErrorCaption, Severity::error);
        return {};
    }
    return path;
}

std::optional<MainDialog::Received> MainDialog::ReceiveFromW2(ReceiveRun& run,
                                                              ReceivePurpose purpose) {
    const midi::MidiPortList ports = services_.Midi().ListPorts();
    services_.RunReceiveDialog(run, ports, FoundPort(ports.inputs, midi_.inputPort), purpose);
    if (!run.Port().empty()) {
        midi_.inputPort = run.Port();
    }
    const midi::ReceiveSession* session = run.Session();
    if (session == nullptr || session->NothingArrived()) {
        return std::nullopt;
    }
    // What came is kept on disk before anything else, even after a cancel.
    Received received{*session, services_.LocalTimeStamp(), {}};
    received.backup = BackUpReceived(*session, received.stamp, purpose == ReceivePurpose::receive);
    if (session->End() == midi::ReceiveEnd::tooLarge) {
        prompts_.ShowMessage(midi::kReceiveLimitText, kErrorCaption, Severity::error);
    }
    return received;
}

void MainDialog::OnReceive(int pane) {
    if (!MayDiscard(pane)) {
        return;
    }
    ReceiveRun run(services_.Midi(), services_.MidiClock(),
                   std::chrono::milliseconds(midi_.idleMs));
    const auto received = ReceiveFromW2(run, ReceivePurpose::receive);
    if (!received) {
        return;  // nothing came: the pane stays exactly as it was
    }
    At(pane).document.FromReceived(received->session.Messages(),
                                   "W2 " + received->stamp.substr(0, 16) + ".syx");
    const std::size_t held = image(pane).MessagesInSaveOrder().size();
    Say("Received " + std::to_string(held) + " messages from " + run.Port() +
        (received->session.Counts().lostInput ? std::string("; ") + midi::kLostInputText
                                              : std::string()) +
        (received->backup.empty() ? std::string()
                                  : "; all that came is kept in " + received->backup));
}

void MainDialog::OnCheck(int pane) {
    ReceiveRun run(services_.Midi(), services_.MidiClock(),
                   std::chrono::milliseconds(midi_.idleMs));
    const auto received = ReceiveFromW2(run, ReceivePurpose::check);
    if (!received && run.Session() == nullptr) {
        return;  // the dialog was left before a port was even opened
    }
    DumpImage readBack;
    if (received) {
        (void)readBack.Load(received->session.Messages());
    }
    const DumpCheck check = CheckDump(image(pane), readBack);
    std::string text = check.Summary();
    // The list is for reading: past a screenful the count says the rest.
    constexpr std::size_t kListed = 24;
    for (std::size_t i = 0; i < check.failures.size() && i < kListed; ++i) {
        text += '\n';
        text += FailedSlotName(check.failures[i], image(pane).Layout()) + ": " +
                CheckFailureWord(check.failures[i].failure);
    }
    if (check.failures.size() > kListed) {
        text += "\n... and " + std::to_string(check.failures.size() - kListed) + " more";
    }
    if (received && !received->backup.empty()) {
        text += "\n\nAll that came is kept in " + received->backup;
    }
    prompts_.ShowMessage(text, kCheckCaption, check.AllBack() ? Severity::notice : Severity::error);
    Say(check.Summary());
}

void MainDialog::OnSend(int pane) {
    const auto pause = std::chrono::milliseconds(midi_.pauseMs);
    const midi::SendPlan plan = midi::PlanSend(image(pane), pause);
    if (plan.messages.empty()) {
        prompts_.ShowMessage(midi::kNothingToSendText, kKorvelCaption, Severity::notice);
        return;
    }
    if (midi_.outputPort.empty()) {
        OnMidiSetup();
        if (midi_.outputPort.empty()) {
            return;
        }
    }
    midi::MidiSystem& system = services_.Midi();
    const std::string port = FoundPort(system.ListPorts().outputs, midi_.outputPort);
    if (!prompts_.AskToProceed(midi::SendQuestion(plan, PaneName(pane), port), kKorvelCaption,
                               "Send", "Cancel")) {
        return;
    }
    bool allSent = false;
    {
        const midi::SendOpening opening = midi::OpenForSend(system, port, plan);
        if (!opening.output) {
            prompts_.ShowMessage(opening.problem, kErrorCaption, Severity::error);
            return;
        }
        midi::SendSession session(*opening.output, services_.MidiClock(), plan.messages, pause);
        services_.RunSendDialog(session, port);
        const std::string summary = session.SummaryText(port);
        Say(summary);
        allSent = session.Failure().empty() && !session.WasCancelled();
        if (!allSent) {
            return;
        }
        // The output port is closed before the W2 is asked for its memory back.
        if (!prompts_.AskToProceed(summary + ".", kKorvelCaption, "Check the W2...", "Close")) {
            return;
        }
    }
    OnCheck(pane);
}

}  // namespace korvel::ui

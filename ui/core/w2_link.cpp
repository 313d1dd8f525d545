#include "w2_link.h"

#include "atomic_file.h"
#include "dump_check.h"
#include "load_report.h"
#include "paths.h"

#include "file_tool.h"
#include "messages.h"

#include "port_match.h"
#include "send_session.h"

namespace korvel::ui {

namespace {

// The port a remembered name stands for now, as the MIDI layer's matcher finds it; the
// remembered name itself when none is found, so that opening it says why.
std::string FoundPort(const std::vector<std::string>& ports, const std::string& remembered) {
    return midi::MatchPort(ports, remembered).name.value_or(remembered);
}

}  // namespace

bool W2Link::OnMidiSetup() {
    const auto chosen = services_.RunMidiSetup(midi_, services_.Midi().ListPorts());
    if (!chosen) {
        return false;
    }
    // The set-up holds the ports and pauses; whether a send backs up first is the send
    // question's to change.
    const bool backupBeforeSend = midi_.backupBeforeSend;
    midi_ = *chosen;
    midi_.backupBeforeSend = backupBeforeSend;
    return true;
}

ReceiveRun W2Link::NewRun() {
    return ReceiveRun(services_.Midi(), services_.MidiClock(),
                      std::chrono::milliseconds(midi_.idleMs),
                      [this]() -> std::optional<std::string> {
                          if (!OnMidiSetup()) {
                              return std::nullopt;
                          }
                          return midi_.inputPort;
                      });
}

std::string W2Link::BackUpReceived(const midi::ReceiveSession& session, const std::string& stamp,
                                   bool inPane) {
    const std::string folder = services_.ReceivedFolder();
    // A folder that cannot be made says why when the backup cannot be written into it.
    (void)MakeFolder(folder);
    const auto path = NewBackupPath(folder, stamp);
    const Outcome written =
        path ? ReplaceFileWithBytes(*path, session.Kept()) : Outcome::Failure(path.reason());
    if (!written.ok()) {
        prompts_.ShowMessage("What arrived could not be backed up in\n" + folder + "\n\n" +
                                 written.reason() +
                                 (inPane ? "\n\nIt is in the pane; save it from there." : ""),
                             kErrorCaption, Severity::error);
        return {};
    }
    return *path;
}

std::optional<W2Link::Received> W2Link::ReceiveFromW2(ReceiveRun& run, ReceivePurpose purpose) {
    const midi::MidiPortList ports = services_.Midi().ListPorts();
    services_.RunReceiveDialog(run, ports, FoundPort(ports.inputs, midi_.inputPort), purpose);
    if (!run.Port().empty()) {
        midi_.inputPort = run.Port();
    }
    const midi::ReceiveSession* session = run.Session();
    if (session != nullptr && !session->Broken().empty()) {
        prompts_.ShowMessage(
            "Nothing more can come from " + run.Port() + ": " + session->Broken() + ".",
            kErrorCaption, Severity::error);
    }
    if (session == nullptr || session->NothingArrived()) {
        return std::nullopt;
    }
    // What came is kept on disk before anything else, even after a cancel.
    Received received{*session, services_.LocalTimeStamp(), {}};
    received.backup = BackUpReceived(*session, received.stamp, purpose == ReceivePurpose::receive);
    if (session->End() == midi::ReceiveEnd::tooLarge) {
        prompts_.ShowMessage(midi::ReceiveLimitText(), kErrorCaption, Severity::error);
    }
    return received;
}

void W2Link::OnReceive(int pane) {
    if (!files_.MayDiscard(pane)) {
        return;
    }
    ReceiveRun run = NewRun();
    const auto received = ReceiveFromW2(run, ReceivePurpose::receive);
    if (!received) {
        return;  // nothing came: the pane stays exactly as it was
    }
    const LoadReport passedOver = desk_.At(pane).document.FromReceived(
        received->session.Messages(), "W2 " + received->stamp.substr(0, 16) + ".syx");
    const std::size_t held = desk_.image(pane).MessagesInSaveOrder().size();
    const std::string skipped = SkippedSummary(passedOver);
    desk_.Say("Received " + std::to_string(held) + " messages from " + run.Port() +
              (received->session.Counts().lostInput ? std::string("; ") + midi::kLostInputText
                                                    : std::string()) +
              (skipped.empty() ? std::string() : "; " + skipped) +
              (received->backup.empty() ? std::string()
                                        : "; all that came is kept in " + received->backup));
}

void W2Link::OnCheck(int pane) {
    ReceiveRun run = NewRun();
    const auto received = ReceiveFromW2(run, ReceivePurpose::check);
    if (!received && run.Session() == nullptr) {
        return;  // the dialog was left before a port was even opened
    }
    const ReadBack readBack = CheckReadBack(
        desk_.image(pane), received ? received->session.Messages() : std::vector<std::uint8_t>());
    const DumpCheck& check = readBack.check;
    std::string text = check.Report(desk_.image(pane).Layout());
    if (const std::string skipped = SkippedSummary(readBack.passedOver); !skipped.empty()) {
        text += "\n\nOf what came back, " + skipped;
    }
    if (received && !received->backup.empty()) {
        text += "\n\nAll that came is kept in " + received->backup;
    }
    prompts_.ShowMessage(text, kCheckCaption, check.AllBack() ? Severity::notice : Severity::error);
    desk_.Say(check.Summary());
}

BackupList W2Link::BackupsMenu(int pane) const {
    return ListBackups(services_.ReceivedFolder(), desk_.image(pane).Layout(), kBackupsInMenu);
}

void W2Link::OnOpenBackup(int pane, const std::string& path) {
    files_.OnOpenNamed(pane, path);
}

void W2Link::OnShowAllBackups() {
    const std::string folder = services_.ReceivedFolder();
    if (const Outcome made = MakeFolder(folder); !made) {
        prompts_.ShowMessage(
            "The folder of the backups cannot be made:\n" + folder + "\n\n" + made.reason(),
            kErrorCaption, Severity::error);
        return;
    }
    if (!services_.ShowFolder(folder)) {
        prompts_.ShowMessage("The folder of the backups could not be opened:\n" + folder,
                             kErrorCaption, Severity::error);
    }
}

std::optional<std::string> W2Link::BackUpBeforeSend() {
    std::string backup;
    std::string notBackedUp;  // why what came is no backup of the W2's memory
    {
        ReceiveRun run = NewRun();
        const auto received = ReceiveFromW2(run, ReceivePurpose::backup);
        if (run.WasCancelled()) {
            return std::nullopt;  // what came stays on disk, but nothing is sent
        }
        backup = received ? received->backup : std::string();
        notBackedUp = midi::WhyNoBackup(run.Session(), backup);
    }
    // The input closes before the send; without a backup on disk the user decides.
    if (!notBackedUp.empty()) {
        if (!prompts_.AskYesNo("The W2's memory is not backed up: " + notBackedUp +
                                   ".\nSend anyway and replace what it holds?",
                               kKorvelCaption)) {
            return std::nullopt;
        }
        return std::string();
    }
    return backup;
}

void W2Link::OnSend(int pane) {
    const auto pause = std::chrono::milliseconds(midi_.pauseMs);
    const midi::SendPlan plan = midi::PlanSend(desk_.image(pane), pause);
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
    const auto backUpFirst =
        prompts_.AskToProceedWith(midi::SendQuestion(plan, PaneName(pane), port), kKorvelCaption,
                                  "Send", "Cancel", "Back up the W2 first", midi_.backupBeforeSend);
    if (!backUpFirst) {
        return;
    }
    midi_.backupBeforeSend = *backUpFirst;
    const auto backup = *backUpFirst ? BackUpBeforeSend() : std::string();
    if (!backup) {
        desk_.Say("Nothing was sent.");
        return;
    }
    {
        const midi::SendOpening opening = midi::OpenForSend(system, port, plan);
        if (!opening.output) {
            prompts_.ShowMessage(opening.problem, kErrorCaption, Severity::error);
            return;
        }
        midi::SendSession session(*opening.output, services_.MidiClock(), plan.messages, pause);
        services_.RunSendDialog(session, port);
        const std::string summary = session.SummaryText(port);
        desk_.Say(backup->empty() ? summary
                                  : summary + "; what the W2 held before is kept in " + *backup);
        if (!session.Failure().empty() || session.WasCancelled()) {
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

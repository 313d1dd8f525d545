#include "web_host.h"

#include "backups.h"
#include "stored_text.h"

#include "receive_run.h"
#include "workbench.h"

#include "json_text.h"
#include "page.h"
#include "page_json.h"

#include <algorithm>
#include <ctime>
#include <sstream>

namespace korvel::web {

namespace {

JsonObject Request(const char* kind) {
    return JsonObject().Add("kind", kind);
}

JsonObject Question(const char* kind, const std::string& text, const std::string& caption) {
    return Request(kind).Add("text", text).Add("caption", caption);
}

std::optional<std::string> Chosen(const std::string& answer) {
    return answer.empty() ? std::nullopt : std::optional(answer);
}

}  // namespace

void WebHost::ShowMessage(const std::string& text, const std::string& caption,
                          ui::Severity severity) {
    Ask(Question("message", text, caption).Add("error", severity == ui::Severity::error).Text());
}

bool WebHost::AskYesNo(const std::string& text, const std::string& caption) {
    return Ask(Question("yesNo", text, caption).Text()) == "yes";
}

bool WebHost::AskToProceed(const std::string& text, const std::string& caption,
                           const std::string& proceedLabel, const std::string& cancelLabel) {
    return Ask(Question("proceed", text, caption)
                   .Add("proceed", proceedLabel)
                   .Add("cancel", cancelLabel)
                   .Text()) == "proceed";
}

std::optional<bool> WebHost::AskToProceedWith(const std::string& text, const std::string& caption,
                                              const std::string& proceedLabel,
                                              const std::string& cancelLabel,
                                              const std::string& checkLabel, bool checked) {
    // "checked" or "unchecked" to proceed, "" for the cancel button.
    const std::string answer = Ask(Question("proceed", text, caption)
                                       .Add("proceed", proceedLabel)
                                       .Add("cancel", cancelLabel)
                                       .Add("check", checkLabel)
                                       .Add("checked", checked)
                                       .Text());
    if (answer != "checked" && answer != "unchecked") {
        return std::nullopt;
    }
    return answer == "checked";
}

std::optional<ui::ItemTag> WebHost::SelectedTag(int pane) {
    const auto tag = NumberIn(Tell(Request("selectedTag").Add("pane", pane).Text()));
    if (!tag || *tag < 0) {
        return std::nullopt;
    }
    return static_cast<ui::ItemTag>(*tag);
}

void WebHost::ShowStatus(const std::string& line) {
    Tell(Request("status").Add("text", line).Text());
}

void WebHost::ShowFileName(int pane, const std::string& name) {
    Tell(Request("fileName").Add("pane", pane).Add("name", name).Text());
}

void WebHost::ShowUnsaved(int pane, bool unsaved) {
    Tell(Request("unsaved").Add("pane", pane).Add("unsaved", unsaved).Text());
}

void WebHost::TreeRebuilt(int pane) {
    if (bench_ != nullptr) {
        Tell(Request("tree")
                 .Add("pane", pane)
                 .AddJson("forest", ForestJson(bench_->tree(pane)))
                 .Text());
    }
}

// The page redraws the nodes it is told of; the forest comes whole, as the tree knows it.
void WebHost::TreeRefreshed(int pane, const std::vector<ui::NodeChange>& changes) {
    if (bench_ == nullptr) {
        return;
    }
    std::string paths = "[";
    for (const ui::NodeChange& change : changes) {
        paths += (paths.size() > 1 ? "," : "") + PathJson(change.path);
    }
    Tell(Request("treeChanged")
             .Add("pane", pane)
             .AddJson("forest", ForestJson(bench_->tree(pane)))
             .AddJson("changed", paths + "]")
             .Text());
}

void WebHost::HistoryChanged(int pane) {
    if (bench_ != nullptr) {
        Tell(Request("steps")
                 .Add("pane", pane)
                 .Add("undo", bench_->Edits().UndoText(pane))
                 .Add("redo", bench_->Edits().RedoText(pane))
                 .Text());
    }
}

void WebHost::ComparingChanged(bool on) {
    Tell(Request("comparing").Add("on", on).Text());
}

void WebHost::SelectNode(int pane, const ui::NodePath& path) {
    Tell(Request("select").Add("pane", pane).AddJson("path", PathJson(path)).Text());
}

std::optional<std::string> WebHost::ChooseOpenFile(int pane, const std::string&) {
    return Chosen(Ask(Request("chooseOpen").Add("pane", pane).Text()));
}

std::optional<std::string> WebHost::ChooseSaveFile(int pane, const std::string&,
                                                   const std::string& proposedName) {
    return Chosen(
        Ask(Request("chooseSave").Add("pane", pane).Add("proposed", proposedName).Text()));
}

std::optional<int> WebHost::RunLayoutDialog(int choice) {
    const auto answer = NumberIn(Ask(Request("layout").Add("choice", choice).Text()));
    if (!answer) {
        return std::nullopt;
    }
    return static_cast<int>(*answer);
}

std::optional<ui::RenameAnswer> WebHost::RunRenameDialog(const std::string& text) {
    // "=" and the text after OK; "" after Cancel.
    const std::string answer = Ask(Request("rename").Add("text", text).Text());
    if (answer.empty() || answer[0] != '=') {
        return std::nullopt;
    }
    // Edited when it differs from the name as the page showed it.
    const std::string typed = answer.substr(1);
    return ui::RenameAnswer{typed, typed != StoredTextToUtf8(text)};
}

void WebHost::ShowAbout() {
    Ask(Request("about").Text());
}

void WebHost::RunReceiveDialog(ui::ReceiveRun& run, const midi::MidiPortList& ports,
                               const std::string& preselected, ui::ReceivePurpose purpose) {
    const Outcome offered = run.Offer(ports, preselected);
    Tell(Request("receiveOpen")
             .Add("title", ui::ReceiveDialogTitle(purpose))
             .AddJson("choices", PortChoicesJson(run.Choices()))
             .Add("status", offered.reason())
             .Text());
    while (!run.HasEnded()) {
        const std::string action = Ask(
            Request("receiveWait").Add("ms", static_cast<int>(midi::kDialogPoll.count())).Text());
        if (action == "done") {
            run.Finish();
            break;
        }
        if (action == "cancel") {
            run.Cancel();
            break;
        }
        std::optional<Outcome> listening;
        if (action.starts_with("choose:")) {
            listening = run.Choose(action.substr(7));
        } else if (action == "refresh") {
            listening = run.Refresh();
        } else if (action == "setup") {
            listening = run.SetUp();
        }
        run.Poll();
        JsonObject update = Request("receiveUpdate").Add("mayChangePort", run.MayChangePort());
        if (listening) {
            update.AddJson("choices", PortChoicesJson(run.Choices()))
                .Add("status", listening->reason());
        } else if (run.IsListening()) {
            update.Add("status", run.StatusText());
        }
        Tell(update.Text());
    }
    Tell(Request("receiveClose").Text());
}

void WebHost::RunSendDialog(midi::SendSession& session, const std::string&) {
    Tell(Request("sendOpen").Add("total", static_cast<long long>(session.Total())).Text());
    for (;;) {
        const midi::Instant wakeUp = session.WakeUpAfter(session.Step());
        Tell(Request("sendUpdate")
                 .Add("text", session.ProgressText())
                 .Add("sent", static_cast<long long>(session.Sent()))
                 .Text());
        if (session.MayClosePort(clock_.Now())) {
            break;
        }
        const auto wait = std::chrono::ceil<std::chrono::microseconds>(wakeUp - clock_.Now());
        // Cancel stops before the next message; the dialog closes once the one under way is out.
        if (Ask(Request("sendWait")
                    .Add("us", std::clamp<long long>(wait.count(), 0, 1'000'000))
                    .Text()) == "cancel") {
            session.Cancel();
        }
    }
    Tell(Request("sendClose").Text());
}

std::optional<ui::MidiSettings> WebHost::RunMidiSetup(const ui::MidiSettings& settings,
                                                      const midi::MidiPortList& ports) {
    // After OK, four lines: input port, output port, pause, idle time.
    const std::string answer =
        Ask(Request("midiSetup")
                .AddJson("inputs",
                         PortChoicesJson(ui::MakePortChoices(ports.inputs, settings.inputPort)))
                .AddJson("outputs",
                         PortChoicesJson(ui::MakePortChoices(ports.outputs, settings.outputPort)))
                .Add("pause", settings.pauseMs)
                .Add("idle", settings.idleMs)
                .Add("pauseMin", midi::kMinMessagePauseMs)
                .Add("pauseMax", midi::kMaxMessagePauseMs)
                .Add("idleMin", midi::kMinReceiveIdleMs)
                .Add("idleMax", midi::kMaxReceiveIdleMs)
                .Add("api", ports.api)
                .Text());
    if (answer.empty()) {
        return std::nullopt;
    }
    std::istringstream lines(answer);
    ui::MidiSettings chosen = settings;
    std::string pause;
    std::string idle;
    std::getline(lines, chosen.inputPort);
    std::getline(lines, chosen.outputPort);
    std::getline(lines, pause);
    std::getline(lines, idle);
    chosen.pauseMs =
        std::clamp(std::atoi(pause.c_str()), midi::kMinMessagePauseMs, midi::kMaxMessagePauseMs);
    chosen.idleMs =
        std::clamp(std::atoi(idle.c_str()), midi::kMinReceiveIdleMs, midi::kMaxReceiveIdleMs);
    return chosen;
}

std::string WebHost::ReceivedFolder() {
    return DefaultBackupFolder();
}

std::string WebHost::LocalTimeStamp() {
    return BackupStamp(std::time(nullptr));
}

bool WebHost::ShowFolder(const std::string& folder) {
    Tell(Request("showFolder").Add("folder", folder).Text());
    return true;
}

}  // namespace korvel::web

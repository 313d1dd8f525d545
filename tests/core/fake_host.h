// A host that plays back scripted answers and records what it was asked. A prompt with no
// answer left is a test failure, not a silent cancel.
#pragma once

#include "host.h"
#include "receive_run.h"
#include "send_session.h"
#include "settings.h"

#include "fake_midi.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvel::ui::testing {

using midi::testing::FakeClock;
using midi::testing::FakeMidiSystem;

struct Message {
    std::string text;
    std::string caption;
    Severity severity = Severity::notice;
    friend bool operator==(const Message&, const Message&) = default;
};

inline void PrintTo(const Message& m, std::ostream* os) {
    *os << m.caption << ": " << m.text;
}

class FakeHost : public Host {
  public:
    // Scripted answers, used in order.
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<int>> layoutAnswers;
    std::deque<std::optional<std::string>> renameAnswers;
    std::optional<ItemTag> selected[2];
    std::deque<bool> proceedAnswers;
    // The state of a question's check box when the user proceeds; as preset when none is left.
    std::deque<bool> checkAnswers;
    std::deque<std::optional<MidiSettings>> setupAnswers;
    // Plays the user at the receive dialog; the dialog itself listens on the preselected port.
    std::function<void(ReceiveRun&)> atReceive;
    // The send dialog steps the send on the fake clock; it cancels after this many messages.
    std::optional<std::size_t> cancelSendAfter;
    FakeClock clock;
    FakeMidiSystem midi;
    std::string receivedFolder;

    // What was asked and shown.
    std::vector<Message> messages;
    std::vector<Message> questions;
    int aboutShown = 0;
    std::vector<std::string> openFolders;
    std::vector<std::pair<std::string, std::string>> saveProposals;  // folder, name
    std::vector<int> layoutPresets;
    std::vector<std::string> renamePresets;
    std::vector<std::string> statusLines;
    std::string fileNames[2];
    bool unsaved[2] = {false, false};
    int rebuilds[2] = {0, 0};
    int refreshes[2] = {0, 0};
    std::vector<NodeChange> lastChanges[2];
    int historyChanges[2] = {0, 0};
    std::vector<std::string> receivePreselections;
    std::vector<ReceivePurpose> receivePurposes;
    std::vector<std::string> proceedLabels;
    std::vector<std::pair<std::string, bool>> checkPresets;
    std::vector<std::string> shownFolders;
    bool comparing = false;
    std::optional<NodePath> selectedPaths[2];

    std::optional<std::string> ChooseOpenFile(int, const std::string& folder) override {
        openFolders.push_back(folder);
        return Next(openAnswers, "open file");
    }
    std::optional<std::string> ChooseSaveFile(int, const std::string& folder,
                                              const std::string& name) override {
        saveProposals.emplace_back(folder, name);
        return Next(saveAnswers, "save file");
    }
    void ShowMessage(const std::string& text, const std::string& caption,
                     Severity severity) override {
        messages.push_back({text, caption, severity});
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        questions.push_back({text, caption});
        return Next(yesNoAnswers, "yes/no question");
    }
    std::optional<int> RunLayoutDialog(int choice) override {
        layoutPresets.push_back(choice);
        return Next(layoutAnswers, "layout dialog");
    }
    void ShowAbout() override { ++aboutShown; }
    std::optional<RenameAnswer> RunRenameDialog(const std::string& text) override {
        renamePresets.push_back(text);
        const auto answer = Next(renameAnswers, "rename dialog");
        return answer ? std::optional(RenameAnswer{*answer}) : std::nullopt;
    }
    std::optional<ItemTag> SelectedTag(int pane) override { return selected[pane]; }
    void ShowStatus(const std::string& line) override { statusLines.push_back(line); }
    void ShowFileName(int pane, const std::string& name) override { fileNames[pane] = name; }
    void ShowUnsaved(int pane, bool shown) override { unsaved[pane] = shown; }
    void TreeRebuilt(int pane) override { ++rebuilds[pane]; }
    void TreeRefreshed(int pane, const std::vector<NodeChange>& changes) override {
        ++refreshes[pane];
        lastChanges[pane] = changes;
    }
    void HistoryChanged(int pane) override { ++historyChanges[pane]; }
    void ComparingChanged(bool on) override { comparing = on; }
    void SelectNode(int pane, const NodePath& path) override { selectedPaths[pane] = path; }
    bool AskToProceed(const std::string& text, const std::string& caption,
                      const std::string& proceedLabel, const std::string&) override {
        proceedLabels.push_back(proceedLabel);
        questions.push_back({text, caption});
        return Next(proceedAnswers, "send question");
    }
    std::optional<bool> AskToProceedWith(const std::string& text, const std::string& caption,
                                         const std::string& proceedLabel, const std::string&,
                                         const std::string& checkLabel, bool checked) override {
        proceedLabels.push_back(proceedLabel);
        questions.push_back({text, caption});
        checkPresets.emplace_back(checkLabel, checked);
        if (!Next(proceedAnswers, "send question")) {
            return std::nullopt;
        }
        return checkAnswers.empty() ? checked : Next(checkAnswers, "check box");
    }
    midi::MidiSystem& Midi() override { return midi; }
    midi::Clock& MidiClock() override { return clock; }
    void RunReceiveDialog(ReceiveRun& run, const midi::MidiPortList&,
                          const std::string& preselected, ReceivePurpose purpose) override {
        receivePurposes.push_back(purpose);
        receivePreselections.push_back(preselected);
        if (!preselected.empty()) {
            (void)run.Listen(preselected);
        }
        if (atReceive) {
            atReceive(run);
        } else {
            ADD_FAILURE() << "unexpected receive dialog";
        }
    }
    void RunSendDialog(midi::SendSession& session, const std::string&) override {
        midi::testing::RunSend(session, clock, [this, &session] {
            return cancelSendAfter && session.Sent() >= *cancelSendAfter;
        });
    }
    std::optional<MidiSettings> RunMidiSetup(const MidiSettings&,
                                             const midi::MidiPortList&) override {
        return Next(setupAnswers, "MIDI setup");
    }
    std::string ReceivedFolder() override { return receivedFolder; }
    std::string LocalTimeStamp() override { return "2026-12-08 21-05-33"; }
    bool ShowFolder(const std::string& folder) override {
        shownFolders.push_back(folder);
        return true;
    }

  private:
    template <typename T>
    T Next(std::deque<T>& answers, const char* what) {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return T{};
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// A settings store in memory that records the order of writes.
class MemorySettings : public SettingsStore {
  public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::string> writeOrder;

    std::string GetString(const std::string& s, const std::string& k,
                          const std::string& fallback) override {
        const auto it = values.find({s, k});
        return it == values.end() ? fallback : it->second;
    }
    int GetInt(const std::string& s, const std::string& k, int fallback) override {
        const auto it = values.find({s, k});
        return it == values.end() ? fallback : std::stoi(it->second);
    }
    void WriteString(const std::string& s, const std::string& k, const std::string& v) override {
        values[{s, k}] = v;
        writeOrder.push_back(k);
    }
    void WriteInt(const std::string& s, const std::string& k, int v) override {
        WriteString(s, k, std::to_string(v));
    }
};

}  // namespace korvel::ui::testing

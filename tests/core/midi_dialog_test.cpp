// The window's MIDI dialogs' logic and commands, on fake ports and a fake clock.
#include "dump_builder.h"
#include "dump_image.h"

#include "port_choices.h"
#include "receive_run.h"
#include "settings.h"

#include "fake_midi.h"
#include "session.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvel::ui {
namespace {

using korvel::testing::Bytes;
using korvel::testing::FullDump;
using namespace std::chrono_literals;

TEST(PortChoices, RememberedPortThatIsGoneShowsAsMissing) {
    const auto present = MakePortChoices({"a:1", "b:2"}, "b:2");
    EXPECT_EQ(present.selected, 1);
    EXPECT_EQ(present.entries.size(), 2u);
    const auto gone = MakePortChoices({"a:1"}, "W2:out");
    ASSERT_EQ(gone.entries.size(), 2u);
    EXPECT_EQ(gone.selected, 1);
    EXPECT_EQ(gone.entries[1].label, "W2:out (missing)");
    EXPECT_EQ(MakePortChoices({}, "").entries[0].label, "No MIDI ports found");
}

TEST(MidiSettings, OwnSectionBesideTheFourOfTheDesign) {
    testing::MemorySettings store;
    EXPECT_EQ(ReadMidiSettings(store), MidiSettings{});
    const MidiSettings chosen{"W2:out", "W2:in", 0, 5000};
    WriteMidiSettings(store, chosen);
    EXPECT_EQ(store.GetString("MIDI", "Message Pause", "?"), "0");
    EXPECT_EQ(ReadMidiSettings(store), chosen);
    store.values[{"MIDI", "Message Pause"}] = "9000";
    EXPECT_EQ(ReadMidiSettings(store).pauseMs, 60);
}

// A port that will not open leaves nothing listening, says so, and the next choice listens,
// the port chosen before it included.
TEST(ReceivePortSwitch, ListensOnTheNextPortAfterOneThatWouldNotOpen) {
    korvel::midi::testing::FakeClock clock;
    korvel::midi::testing::FakeMidiSystem midi;
    midi.AddInput("W2 A");
    midi.AddInput("W2 B");
    midi.refusals["W2 B"] = korvel::midi::kPortInUseReason;
    ReceiveRun run(midi, clock, 2s);
    EXPECT_TRUE(run.Listen("W2 A").ok());
    EXPECT_EQ(run.Listen("W2 B").reason(), "W2 B is in use by another program");
    EXPECT_FALSE(run.IsListening());
    EXPECT_TRUE(run.Listen("W2 A").ok());
    EXPECT_TRUE(run.IsListening());
    EXPECT_EQ(run.Port(), "W2 A");
}

class WindowMidi : public testing::Session {
  protected:
    void SetUp() override {
        // These sends go without a backup first; the backups' own tests turn it on.
        settings.values[{"MIDI", "Backup Before Send"}] = "0";
        Session::SetUp();
        host.receivedFolder = dir.File("received");
        Open(0, Dump("left.syx", FullDump(5)));
    }
};

TEST_F(WindowMidi, ReceiveFillsThePaneAndBacksUpEverything) {
    auto& input = host.midi.AddInput("W2:out");
    host.setupAnswers.push_back(MidiSettings{"W2:out", "", 60, 2000});
    dialog.Run(CommandId::midiSetup, kLeftPane);
    Bytes dump = FullDump(7);
    dump.insert(dump.end(), {0xF0, 'Q', 'R'});  // a last message whose F7 never came
    host.atReceive = [&](ReceiveRun& run) {
        input.pieces.push_back(dump);
        run.Poll();
        host.clock.Advance(3s);
        run.Poll();
        ASSERT_TRUE(run.HasEnded());
    };
    dialog.Run(CommandId::receive, 1);
    EXPECT_EQ(host.receivePreselections.back(), "W2:out");
    EXPECT_EQ(dialog.image(1).WriteToBytes(), FullDump(7));
    EXPECT_TRUE(dialog.IsChanged(1));
    EXPECT_EQ(host.fileNames[1], "");
    EXPECT_EQ(korvel::testing::ReadFile(dir.File("received/W2 2026-12-08 21-05-33.syx")), dump);
    EXPECT_NE(host.statusLines.back().find("received/W2 2026-12-08 21-05-33.syx"),
              std::string::npos);
    host.saveAnswers.push_back(std::nullopt);
    dialog.Run(CommandId::save, 1);
    EXPECT_EQ(host.saveProposals.back().second, "W2 2026-12-08 21-05.syx");

    // A second receive within the same second keeps the first backup as it was.
    dump = FullDump(8);
    host.yesNoAnswers.push_back(true);  // the received pane's changes may go
    dialog.Run(CommandId::receive, 1);
    EXPECT_EQ(korvel::testing::ReadFile(dir.File("received/W2 2026-12-08 21-05-33.syx")),
              korvel::testing::Concat({FullDump(7), Bytes{0xF0, 'Q', 'R'}}));
    EXPECT_EQ(korvel::testing::ReadFile(dir.File("received/W2 2026-12-08 21-05-33 (2).syx")), dump);
}

TEST_F(WindowMidi, CancelBeforeAnythingArrivedLeavesThePane) {
    host.midi.AddInput("W2:out");
    host.atReceive = [](ReceiveRun& run) {
        ASSERT_TRUE(run.Listen("W2:out").ok());
        run.Cancel();
    };
    const DumpImage* before = &dialog.image(0);
    dialog.Run(CommandId::receive, 0);
    EXPECT_EQ(&dialog.image(0), before);
    EXPECT_FALSE(std::filesystem::exists(dir.File("received")));
}

TEST_F(WindowMidi, SendAsksThenSendsInSaveOrder) {
    auto& output = host.midi.AddOutput("W2:in", host.clock);
    host.yesNoAnswers.push_back(true);
    dialog.Run(CommandId::newDump, 1);
    dialog.Run(CommandId::send, 1);
    EXPECT_EQ(host.messages.back().text, "The dump holds no messages; there is nothing to send.");
    host.setupAnswers.push_back(MidiSettings{"", "W2:in", 0, 2000});
    host.proceedAnswers.push_back(false);
    dialog.Run(CommandId::send, 0);
    EXPECT_TRUE(output.sent.empty());
    host.proceedAnswers = {true, false};  // send, then no check
    dialog.Run(CommandId::send, 0);
    EXPECT_EQ(korvel::testing::Concat(output.sent), FullDump(5));
    ASSERT_GE(host.questions.size(), 2u);
    EXPECT_EQ(host.questions.end()[-2].text.rfind("Send the left dump to W2:in? 481 messages", 0),
              0u);
    EXPECT_EQ(host.questions.back().text.rfind("Sent 481 messages to W2:in in ", 0), 0u);
    EXPECT_EQ(host.statusLines.back().rfind("Sent 481 messages to W2:in in ", 0), 0u);
    host.midi.outputs["W2:in"]->failAt = 3;
    output.sent.clear();
    host.proceedAnswers.push_back(true);
    dialog.Run(CommandId::send, 0);
    EXPECT_EQ(output.sent.size(), 3u);
    EXPECT_NE(host.statusLines.back().find("the port failed: the cable was pulled"),
              std::string::npos);
}

// After a send, the check receives what the W2 holds and names what did not come back.
TEST_F(WindowMidi, CheckAfterASendNamesWhatDidNotComeBack) {
    host.midi.AddOutput("W2:in", host.clock);
    auto& input = host.midi.AddInput("W2:out");
    host.setupAnswers.push_back(MidiSettings{"W2:out", "W2:in", 0, 2000});
    dialog.Run(CommandId::midiSetup, kLeftPane);
    Bytes back = FullDump(5);
    back[back.size() - 3] ^= 0x01;  // a data byte of the last pattern, B12 T08 P04
    host.atReceive = [&](ReceiveRun& run) {
        input.pieces.push_back(back);
        run.Poll();
        host.clock.Advance(3s);
        run.Poll();
    };
    host.proceedAnswers = {true, true};
    const auto before = dialog.image(0).WriteToBytes();
    dialog.Run(CommandId::send, 0);
    EXPECT_EQ(host.proceedLabels.back(), "Check the W2...");
    EXPECT_EQ(host.receivePurposes.back(), ReceivePurpose::check);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().caption, "Check the W2");
    EXPECT_EQ(host.messages.back().severity, Severity::error);
    EXPECT_EQ(host.messages.back().text.rfind("The W2 holds 480 of 481 messages as sent: 1 "
                                              "differs, 0 missing.\nB12 T08 P04: differs\n",
                                              0),
              0u);
    EXPECT_EQ(host.statusLines.back(),
              "The W2 holds 480 of 481 messages as sent: 1 differs, 0 missing.");
    EXPECT_EQ(dialog.image(0).WriteToBytes(), before);
    EXPECT_TRUE(std::filesystem::exists(dir.File("received/W2 2026-12-08 21-05-33.syx")));

    // The same check from the context menu, with nothing coming back.
    host.atReceive = [](ReceiveRun& run) { run.Cancel(); };
    dialog.Run(CommandId::checkW2, 0);
    EXPECT_EQ(host.messages.back().text.rfind("Nothing came back from the W2.", 0), 0u);
}

// Before a send the W2's memory comes into the backups, as the send question's check box says.
class BackupBeforeSend : public testing::Session {
  protected:
    void SetUp() override {
        Session::SetUp();
        host.receivedFolder = dir.File("received");
        Open(0, Dump("left.syx", FullDump(5)));
        output = &host.midi.AddOutput("W2:in", host.clock);
        input = &host.midi.AddInput("W2:out");
        host.setupAnswers.push_back(MidiSettings{"W2:out", "W2:in", 0, 2000});
        dialog.Run(CommandId::midiSetup, kLeftPane);
    }
    // The W2 answers the backup's receive with `held`, or with nothing before Done.
    void W2Holds(std::optional<Bytes> held) {
        host.atReceive = [this, held](ReceiveRun& run) {
            if (held) {
                input->pieces.push_back(*held);
                run.Poll();
                host.clock.Advance(3s);
                run.Poll();
            } else {
                run.Finish();
            }
        };
    }
    korvel::midi::testing::FakeOutput* output = nullptr;
    korvel::midi::testing::FakeInput* input = nullptr;
};

TEST_F(BackupBeforeSend, CheckedBacksUpThenSends) {
    W2Holds(FullDump(9));
    host.proceedAnswers = {true, false};  // send, then no check
    dialog.Run(CommandId::send, 0);
    EXPECT_EQ(host.checkPresets.back(),
              (std::pair<std::string, bool>{"Back up the W2 first", true}));
    EXPECT_EQ(host.receivePurposes, std::vector{ReceivePurpose::backup});
    EXPECT_EQ(korvel::testing::ReadFile(dir.File("received/W2 2026-12-08 21-05-33.syx")),
              FullDump(9));
    EXPECT_EQ(korvel::testing::Concat(output->sent), FullDump(5));
    EXPECT_NE(host.statusLines.back().find("what the W2 held before is kept in"),
              std::string::npos);
}

TEST_F(BackupBeforeSend, UncheckedSendsOnlyAndTheChoiceIsKept) {
    host.proceedAnswers = {true, false};
    host.checkAnswers = {false};
    dialog.Run(CommandId::send, 0);
    EXPECT_TRUE(host.receivePurposes.empty());
    EXPECT_EQ(korvel::testing::Concat(output->sent), FullDump(5));
    dialog.End(settings);
    EXPECT_EQ(settings.GetString("MIDI", "Backup Before Send", ""), "0");
    // The next send's box comes unchecked, and MIDI Setup leaves the choice alone.
    host.setupAnswers.push_back(MidiSettings{"W2:out", "W2:in", 0, 2000});
    dialog.Run(CommandId::midiSetup, kLeftPane);
    host.proceedAnswers = {false};
    dialog.Run(CommandId::send, 0);
    EXPECT_FALSE(host.checkPresets.back().second);
}

TEST_F(BackupBeforeSend, NothingBackedUpAsksWhetherToSendAnyway) {
    W2Holds(std::nullopt);
    host.proceedAnswers = {true};
    host.yesNoAnswers = {false};
    dialog.Run(CommandId::send, 0);
    EXPECT_TRUE(output->sent.empty());
    EXPECT_EQ(host.statusLines.back(), "Nothing was sent.");
    EXPECT_FALSE(std::filesystem::exists(dir.File("received")));

    host.proceedAnswers = {true, false};
    host.yesNoAnswers = {true};
    dialog.Run(CommandId::send, 0);
    EXPECT_EQ(korvel::testing::Concat(output->sent), FullDump(5));
    EXPECT_EQ(host.questions.size(), 5u);  // send, anyway, send, anyway, check
}

// Cancel while the W2's memory arrives calls the send off; what came is kept all the same.
TEST_F(BackupBeforeSend, CancelWhileItArrivesSendsNothing) {
    const Bytes whole = FullDump(9);
    const Bytes part(whole.begin(), whole.begin() + 1500);
    host.atReceive = [&](ReceiveRun& run) {
        input->pieces.push_back(part);
        run.Poll();
        run.Cancel();
    };
    host.proceedAnswers = {true};
    dialog.Run(CommandId::send, 0);
    EXPECT_TRUE(output->sent.empty());
    EXPECT_EQ(host.statusLines.back(), "Nothing was sent.");
    EXPECT_EQ(host.questions.size(), 1u);  // no "send anyway?"
    EXPECT_EQ(korvel::testing::ReadFile(dir.File("received/W2 2026-12-08 21-05-33.syx")), part);
}

// Bytes that hold no W2 message (a keyboard on the wrong port) are no backup: the user decides.
TEST_F(BackupBeforeSend, BytesThatAreNoDumpAskWhetherToSendAnyway) {
    W2Holds(Bytes{0x90, 0x40, 0x7F, 0x80, 0x40, 0x00});
    host.proceedAnswers = {true};
    host.yesNoAnswers = {false};
    dialog.Run(CommandId::send, 0);
    EXPECT_TRUE(output->sent.empty());
    EXPECT_NE(host.questions.back().text.find("holds no complete message of a W2 dump"),
              std::string::npos)
        << host.questions.back().text;
}

// MIDI Setup cancelled from the receive dialog leaves the receive on the port it was on.
TEST_F(BackupBeforeSend, CancelledSetUpKeepsTheReceivesPort) {
    host.midi.AddInput("Keyboard");
    host.atReceive = [&](ReceiveRun& run) {
        host.setupAnswers.push_back(std::nullopt);
        ASSERT_TRUE(run.SetUp().ok());
        EXPECT_EQ(run.Port(), "W2:out");
        host.setupAnswers.push_back(MidiSettings{"Keyboard", "W2:in", 0, 2000});
        ASSERT_TRUE(run.SetUp().ok());
        EXPECT_EQ(run.Port(), "Keyboard");
        run.Cancel();
    };
    host.proceedAnswers = {true};
    dialog.Run(CommandId::send, 0);
}

// The pane's Open menu lists the backups newest first, and one opens in the pane.
TEST_F(BackupBeforeSend, BackupsListedAndOpened) {
    W2Holds(FullDump(9));
    host.proceedAnswers = {true, false};
    dialog.Run(CommandId::send, 0);
    const auto backups = dialog.Link().BackupsMenu(1).backups;
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].when, "2026-12-08 21:05:33");
    dialog.Link().OnOpenBackup(1, backups[0].path);
    EXPECT_EQ(dialog.image(1).WriteToBytes(), FullDump(9));
    dialog.Link().OnShowAllBackups();
    EXPECT_EQ(host.shownFolders, std::vector{dir.File("received")});

    // A folder that cannot be made is said, not shown.
    host.receivedFolder = dir.File("left.syx/received");
    dialog.Link().OnShowAllBackups();
    EXPECT_EQ(host.shownFolders.size(), 1u);
    EXPECT_EQ(host.messages.back().text.rfind("The folder of the backups cannot be made", 0), 0u);
}

}  // namespace
}  // namespace korvel::ui

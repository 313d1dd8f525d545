// Receiving and sending on fake ports and a fake clock: the pieces a backend delivers, the
// pauses that end a receive, the pacing and cancel of a send, and what the window does with both.
#include "dump_builder.h"
#include "dump_image.h"

#include "port_choices.h"
#include "receive_session.h"
#include "send_session.h"
#include "settings.h"
#include "sysex_assembler.h"

#include "fake_midi.h"
#include "session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace korvel::ui {
namespace {

using korvel::testing::Bytes;
using korvel::testing::FullDump;
using testing::FakeClock;
using testing::FakeInput;
using namespace std::chrono_literals;

// A dump as a device delivers it: clock and active sensing between and inside messages, junk
// between them, a message cut off by the next F0, and all of it split at random points.
TEST(SysExAssembler, PutsMessagesTogetherWhateverThePieces) {
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 random(seed);
        const Bytes dump = FullDump(static_cast<int>(seed));
        Bytes stream{0x42, 0x7F, 0xF7};  // junk before the first message
        for (const std::uint8_t byte : dump) {
            if (random() % 50 == 0) {
                stream.push_back(random() % 2 ? 0xF8 : 0xFE);
            }
            if (byte == 0xF0 && random() % 40 == 0) {
                const Bytes cut{0xF0, 'Q', 'R', 'V', 0x01, 0x02};  // ends at the next F0
                stream.insert(stream.end(), cut.begin(), cut.end());
            }
            stream.push_back(byte);
            if (byte == 0xF7 && random() % 20 == 0) {
                stream.insert(stream.end(), {0x10, 0x90, 0x40});
            }
        }
        SysExAssembler assembler;
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t length =
                std::min<std::size_t>(1 + random() % 700, stream.size() - at);
            assembler.Feed(Bytes(stream.begin() + static_cast<long>(at),
                                 stream.begin() + static_cast<long>(at + length)));
            at += length;
        }
        EXPECT_EQ(assembler.Messages(), dump) << "seed " << seed;
        EXPECT_EQ(assembler.MessageCount(), 481u);
        EXPECT_FALSE(assembler.InMessage());
    }
    SysExAssembler assembler;
    assembler.Feed(Bytes{0xF0, 0x01, 0xF0, 0x02, 0xF7, 0xF0, 0x03});
    EXPECT_EQ(assembler.Messages(), (Bytes{0xF0, 0x02, 0xF7}));
    EXPECT_EQ(assembler.MessageCount(), 1u);
    EXPECT_EQ(assembler.CutOff(), 1u);
}

class Receiving : public ::testing::Test {
  protected:
    FakeClock clock;
    FakeInput input;
    ReceiveSession session{input, clock};

    void Arrive(const Bytes& bytes) {
        input.pieces.push_back(bytes);
        session.Poll();
    }
};

// No time limit while nothing has come; once bytes flow, two seconds without one end it.
TEST_F(Receiving, SilenceEndsItOnlyOnceBytesFlow) {
    for (int i = 0; i < 60; ++i) {
        clock.Advance(1s);
        session.Poll();
        EXPECT_EQ(session.ShowHint(), i >= 9) << i;
    }
    EXPECT_FALSE(session.HasEnded());
    const Bytes dump = FullDump(3);
    Arrive({dump.begin(), dump.begin() + 1000});
    EXPECT_FALSE(session.ShowHint());
    clock.Advance(1900ms);
    Arrive({dump.begin() + 1000, dump.end()});
    clock.Advance(1900ms);
    session.Poll();
    EXPECT_FALSE(session.HasEnded());
    clock.Advance(100ms);
    session.Poll();
    EXPECT_EQ(session.End(), ReceiveEnd::idle);
    EXPECT_EQ(session.Messages(), dump);
    EXPECT_EQ(session.ProgressText(),
              "Patterns 384 of 384 \u00B7 Playlists 96 of 96 \u00B7 Type-3 message: yes \u00B7 " +
                  GroupedNumber(dump.size()) + " bytes");
}

TEST_F(Receiving, CountsWrongChecksumsAndKeepsEverythingButRealTime) {
    Bytes wrong = korvel::testing::PatternMessage(0, 0, 0);
    wrong[wrong.size() - 2] ^= 1;
    const Bytes partial{0xF0, 'Q', 'R', 'V', 0x00};
    Arrive(korvel::testing::Concat({wrong, Bytes{0xF8}, partial}));
    session.Finish();
    EXPECT_EQ(session.End(), ReceiveEnd::done);
    EXPECT_EQ(session.Counts().wrongChecksums, 1);
    EXPECT_EQ(session.Kept(), korvel::testing::Concat({wrong, partial}));
    EXPECT_EQ(session.Messages(), wrong);
}

TEST(ReceiveLimit, EndsTheReceiveAndKeepsWhatCameBeforeIt) {
    FakeClock clock;
    FakeInput input;
    ReceiveSession session(input, clock, kDefaultReceiveIdle, 1000);
    const Bytes dump = FullDump(1);
    input.pieces.push_back(dump);
    session.Poll();
    EXPECT_EQ(session.End(), ReceiveEnd::tooLarge);
    EXPECT_EQ(session.Kept(), Bytes(dump.begin(), dump.begin() + 1000));
}

// A message starts no earlier than the previous one takes on the cable plus the pause.
TEST(Sending, PacesCancelsBetweenMessagesAndSaysWhatWasSent) {
    DumpImage image;
    ASSERT_TRUE(image.Load(FullDump(2)).ok());
    const SendPlan plan = PlanSend(image, 60ms);
    for (const std::optional<std::size_t> cancelAfter : {std::optional<std::size_t>{}, {100}}) {
        FakeClock clock;
        testing::FakeOutput output(clock);
        SendSession session(output, clock, plan.messages, 60ms);
        testing::RunSend(session, clock,
                         [&] { return cancelAfter && session.Sent() == *cancelAfter; });
        ASSERT_EQ(output.sent.size(), cancelAfter.value_or(481));
        for (std::size_t i = 0; i < output.sent.size(); ++i) {
            EXPECT_EQ(output.sent[i], Bytes(plan.messages[i].begin(), plan.messages[i].end()));
            if (i > 0) {
                EXPECT_EQ(output.sentAt[i] - output.sentAt[i - 1],
                          kCableTimePerByte * static_cast<int>(output.sent[i - 1].size()) + 60ms);
            }
        }
        EXPECT_EQ(session.SummaryText("W2"),
                  cancelAfter ? "Sent 100 of 481 messages to W2 in 7 s before the cancel"
                              : "Sent 481 messages to W2 in " + SecondsText(plan.estimate - 60ms));
    }
    EXPECT_EQ(SendQuestion(plan, "right", "W2"), "Send the right dump to W2? 481 messages, " +
                                                     GroupedNumber(plan.bytes) + " bytes, about " +
                                                     SecondsText(plan.estimate) + ".");
    EXPECT_EQ(SendRefusal(plan, "W2", plan.longest), std::nullopt);
    EXPECT_NE(SendRefusal(plan, "W2", plan.longest - 1), std::nullopt);
}

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

class WindowMidi : public testing::Session {
  protected:
    void SetUp() override {
        Session::SetUp();
        host.receivedFolder = dir.File("received");
        Open(0, Dump("left.syx", FullDump(5)));
    }
};

TEST_F(WindowMidi, ReceiveFillsThePaneAndBacksUpEverything) {
    auto& input = host.midi.AddInput("W2:out");
    host.setupAnswers.push_back(MidiSettings{"W2:out", "", 60, 2000});
    dialog.OnMidiSetup();
    Bytes dump = FullDump(7);
    dump.insert(dump.end(), {0xF0, 'Q', 'R'});  // a last message whose F7 never came
    host.atReceive = [&](ReceiveRun& run) {
        input.pieces.push_back(dump);
        run.Poll();
        host.clock.Advance(3s);
        run.Poll();
        ASSERT_TRUE(run.HasEnded());
    };
    dialog.OnReceive(1);
    EXPECT_EQ(host.receivePreselections.back(), "W2:out");
    EXPECT_EQ(dialog.image(1).WriteToBytes(), FullDump(7));
    EXPECT_TRUE(dialog.IsChanged(1));
    EXPECT_EQ(host.fileNames[1], "");
    EXPECT_EQ(korvel::testing::ReadFile(dir.File("received/W2 2026-12-08 21-05-33.syx")), dump);
    EXPECT_NE(host.statusLines.back().find("received/W2 2026-12-08 21-05-33.syx"),
              std::string::npos);
    host.saveAnswers.push_back(std::nullopt);
    dialog.OnSave(1);
    EXPECT_EQ(host.saveProposals.back().second, "W2 2026-12-08 21-05.syx");
}

TEST_F(WindowMidi, CancelBeforeAnythingArrivedLeavesThePane) {
    host.midi.AddInput("W2:out");
    host.atReceive = [](ReceiveRun& run) {
        ASSERT_EQ(run.Listen("W2:out"), std::nullopt);
        run.Cancel();
    };
    const DumpImage* before = &dialog.image(0);
    dialog.OnReceive(0);
    EXPECT_EQ(&dialog.image(0), before);
    EXPECT_FALSE(std::filesystem::exists(dir.File("received")));
}

TEST_F(WindowMidi, SendAsksThenSendsInSaveOrder) {
    auto& output = host.midi.AddOutput("W2:in", host.clock);
    host.yesNoAnswers.push_back(true);
    dialog.OnNew(1);
    dialog.OnSend(1);
    EXPECT_EQ(host.messages.back().text, "The dump holds no messages; there is nothing to send.");
    host.setupAnswers.push_back(MidiSettings{"", "W2:in", 0, 2000});
    host.proceedAnswers.push_back(false);
    dialog.OnSend(0);
    EXPECT_TRUE(output.sent.empty());
    host.proceedAnswers.push_back(true);
    dialog.OnSend(0);
    EXPECT_EQ(korvel::testing::Concat(output.sent), FullDump(5));
    EXPECT_EQ(host.questions.back().text.rfind("Send the left dump to W2:in? 481 messages", 0), 0u);
    EXPECT_EQ(host.statusLines.back().rfind("Sent 481 messages to W2:in in ", 0), 0u);
    host.midi.outputs["W2:in"]->failAt = 3;
    output.sent.clear();
    host.proceedAnswers.push_back(true);
    dialog.OnSend(0);
    EXPECT_EQ(output.sent.size(), 3u);
    EXPECT_NE(host.statusLines.back().find("the port failed: the cable was pulled"),
              std::string::npos);
}

}  // namespace
}  // namespace korvel::ui

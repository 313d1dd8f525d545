// Receiving and sending on fake ports and a fake clock: the pieces a backend delivers, the
// pauses that end a receive, the pacing and cancel of a send, and what the window does with both.
#include "dump_builder.h"
#include "count_text.h"
#include "dump_image.h"

#include "receive_session.h"
#include "send_session.h"
#include "sysex_assembler.h"

#include "fake_midi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace korvel::midi {
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

// An overrun of the system's buffer is said, and what came around it is kept.
TEST_F(Receiving, SaysWhenTheSystemLostInputAndKeepsTheRest) {
    const Bytes message = korvel::testing::PatternMessage(0, 0, 0);
    Arrive(message);
    EXPECT_FALSE(session.Counts().lostInput);
    input.lost = true;
    Arrive(message);
    session.Finish();
    EXPECT_TRUE(session.Counts().lostInput);
    EXPECT_NE(session.ProgressText().find(kLostInputText), std::string::npos);
    EXPECT_EQ(session.Kept(), korvel::testing::Concat({message, message}));
}

// A port whose server went away ends the receive at once, with what came before it.
TEST_F(Receiving, APortThatBrokeEndsItAndKeepsWhatCame) {
    const Bytes message = korvel::testing::PatternMessage(0, 0, 0);
    input.broken = "the JACK server went away";
    Arrive(message);
    EXPECT_EQ(session.End(), ReceiveEnd::portBroken);
    EXPECT_NE(session.ProgressText().find("the JACK server went away"), std::string::npos);
    EXPECT_EQ(session.Kept(), message);
}

// What came is a backup of the W2's memory only when it holds a whole message of a dump and
// nothing of it was lost.
TEST(Backup, IsWholeOnlyWithADumpMessageAndNothingLost) {
    struct Case {
        Bytes arrives;
        bool lost;
        std::string keptIn;
        std::string why;
    };
    const Bytes pattern = korvel::testing::PatternMessage(0, 0, 0);
    const Case cases[] = {
        {{}, false, "b.syx", "nothing came from it"},
        {pattern, false, "", "what came could not be kept"},
        {{0x90, 0x40, 0x7F},
         false,
         "b.syx",
         "what came holds no complete message of a W2 dump (it is kept in b.syx)"},
        {pattern, true, "b.syx", "some of what came was lost (it is kept in b.syx)"},
        {pattern, false, "b.syx", ""},
    };
    for (const Case& c : cases) {
        FakeClock clock;
        FakeInput input;
        ReceiveSession session(input, clock);
        input.lost = c.lost;
        input.pieces.push_back(c.arrives);
        session.Poll();
        EXPECT_EQ(WhyNoBackup(&session, c.keptIn), c.why);
    }
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

// The port closes only once it has handed on every message (a JACK ring drains in the next
// cycle); one that broke first, or holds them for ever, fails the send.
TEST(Sending, ThePortClosesOnlyOnceItHandedEverythingOn) {
    DumpImage image;
    ASSERT_TRUE(image.Load(korvel::testing::PatternMessage(0, 0, 0)).ok());
    const SendPlan plan = PlanSend(image, 0ms);
    struct Case {
        std::string brokenAfterSend;
        Duration heldFor;
        bool fails;
    };
    for (const Case& c : {Case{"", 50ms, false}, Case{"the JACK server went away", 50ms, true},
                          Case{"", kDeliveryWait + 1s, true}}) {
        FakeClock clock;
        testing::FakeOutput output(clock);
        SendSession session(output, clock, plan.messages, 0ms);
        testing::RunSend(session, clock);
        output.delivered = false;
        output.broken = c.brokenAfterSend;
        clock.now = session.LastMessageLeaves();
        const Instant handedOn = clock.now + c.heldFor;
        while (!session.MayClosePort(clock.now)) {
            ASSERT_LT(clock.now, handedOn + kDeliveryWait);
            clock.now = session.WakeUpAfter(session.Step());
            output.delivered = clock.now >= handedOn;
        }
        EXPECT_EQ(!session.Failure().empty(), c.fails) << session.Failure();
        EXPECT_EQ(clock.now >= handedOn, !c.fails);
        if (!c.brokenAfterSend.empty()) {
            EXPECT_NE(session.SummaryText("W2").find(c.brokenAfterSend), std::string::npos);
        }
    }
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
    EXPECT_TRUE(PortCarries(plan, "W2", plan.longest).ok());
    EXPECT_FALSE(PortCarries(plan, "W2", plan.longest - 1).ok());
}

// Windows' ports are exclusive: a port another program holds says so in plain words.
TEST(Sending, APortThatWillNotOpenSaysWhy) {
    DumpImage image;
    ASSERT_TRUE(image.Load(FullDump(2)).ok());
    const SendPlan plan = PlanSend(image, 0ms);
    FakeClock clock;
    testing::FakeMidiSystem midi;
    midi.AddOutput("W2 1", clock);
    for (const auto& [reason, text] :
         {std::pair<std::string, std::string>{kPortInUseReason,
                                              "W2 1 is in use by another program"},
          {"the driver failed", "W2 1 cannot be opened: the driver failed"}}) {
        midi.refusals["W2 1"] = reason;
        const SendOpening opening = OpenForSend(midi, "W2 1", plan);
        EXPECT_FALSE(opening.output);
        EXPECT_TRUE(opening.portFailed);
        EXPECT_EQ(opening.problem, text);
    }
}

// The next message starts once the previous one has had its cable time from the call and the
// port has returned, then the pause: a port that returns at once, one that holds the caller
// until the message is out (Windows), and one that holds it longer than that.
TEST(Sending, PacesFromWhenTheMessageHasLeft) {
    DumpImage image;
    ASSERT_TRUE(image.Load(FullDump(2)).ok());
    const SendPlan plan = PlanSend(image, 0ms);
    struct Port {
        bool holdsUntilOut;
        Duration extraHold;
    };
    for (const Port port : {Port{false, 0ms}, Port{true, 0ms}, Port{true, 2ms}}) {
        FakeClock clock;
        testing::FakeOutput output(clock);
        output.holdsUntilOut = port.holdsUntilOut;
        output.sendTakes = port.extraHold;
        SendSession session(output, clock, plan.messages, 5ms);
        testing::RunSend(session, clock);
        ASSERT_EQ(output.sent.size(), 481u);
        const auto cable = [&](std::size_t i) {
            return kCableTimePerByte * static_cast<int>(output.sent[i].size());
        };
        for (std::size_t i = 1; i < output.sent.size(); ++i) {
            ASSERT_EQ(output.sentAt[i] - output.sentAt[i - 1], cable(i - 1) + port.extraHold + 5ms)
                << port.holdsUntilOut << " " << i;
        }
        EXPECT_EQ(session.LastMessageLeaves(),
                  output.sentAt.back() + cable(output.sent.size() - 1) + port.extraHold);
        EXPECT_FALSE(session.MayClosePort(session.LastMessageLeaves() - 1ms));
        EXPECT_TRUE(session.MayClosePort(session.LastMessageLeaves()));
    }
}

}  // namespace
}  // namespace korvel::midi

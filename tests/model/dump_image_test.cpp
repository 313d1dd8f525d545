#include "dump_image.h"
#include "image_slots.h"
#include "dump_builder.h"
#include "temp_dir.h"
#include "wrong_checksums.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace korvel {
namespace {

using testing::Bytes;
using testing::Concat;

Bytes Written(const Bytes& input) {
    DumpImage image;
    (void)image.Load(input);
    return image.WriteToBytes();
}

TEST(Load, EmptyInputHoldsNothing) {
    DumpImage image;
    const auto result = image.Load(Bytes{});
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.report.Total(), 0u);
    EXPECT_TRUE(image.WriteToBytes().empty());
}

TEST(Load, BytesWithoutHeaderHoldNothing) {
    DumpImage image;
    const auto result = image.Load(Bytes(5000, 0x42));
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(image.WriteToBytes().empty());
    EXPECT_TRUE(korvel::testing::Type3(image).IsEmpty());
}

TEST(Load, BytesBetweenMessagesDoNotHideThem) {
    const Bytes pattern = testing::PatternMessage(1, 2, 3);
    const Bytes playlist = testing::PlaylistMessage(40);
    DumpImage image;
    const auto result = image.Load(
        Concat({{0x00, 0x00}, pattern, {0x12, 0x7F}, testing::ForeignMessage(), playlist, {0x00}}));
    EXPECT_TRUE(result.ok());
    EXPECT_FALSE(korvel::testing::Patterns(image)[1 * 128 + 2 * 16 + 3].IsEmpty());
    EXPECT_FALSE(korvel::testing::Playlists(image)[40].IsEmpty());
    EXPECT_EQ(result.report.Count(SkipReason::foreignMessage), 1u);
    EXPECT_EQ(image.WriteToBytes(), Concat({playlist, pattern}));
}

TEST(Load, SlotsPointIntoTheLoadedBytes) {
    const Bytes pattern = testing::PatternMessage(0, 0, 1);
    DumpImage image;
    (void)image.Load(Concat({{0x00}, pattern}));
    const auto& slot = korvel::testing::Patterns(image)[1];
    EXPECT_EQ(slot.begin, image.LoadedBytes().data() + 1);
    EXPECT_EQ(slot.end, image.LoadedBytes().data() + pattern.size());
    EXPECT_EQ(slot.copy, nullptr);
    EXPECT_EQ(image.LoadedBytes().size(), pattern.size() + 1);
}

TEST(Load, UnusedTypeIsSkippedWholeAndNotWritten) {
    const Bytes pattern = testing::PatternMessage(0, 0, 0);
    DumpImage image;
    const auto result = image.Load(Concat({testing::MessageOfType(0x04), pattern}));
    EXPECT_EQ(result.report.Count(SkipReason::unusedType), 1u);
    EXPECT_EQ(image.WriteToBytes(), pattern);
}

TEST(Load, LaterDuplicateIsHeld) {
    const Bytes first = testing::PatternMessage(2, 1, 4, 24, 1);
    const Bytes second = testing::PatternMessage(2, 1, 4, 30, 2);
    DumpImage image;
    const auto result = image.Load(Concat({first, second}));
    EXPECT_EQ(result.report.Count(SkipReason::replaced), 1u);
    ASSERT_EQ(result.report.entries.size(), 1u);
    EXPECT_EQ(result.report.entries[0].offset, 0u);
    EXPECT_EQ(image.WriteToBytes(), second);
}

TEST(Load, SetsNoNames) {
    DumpImage image;
    (void)image.Load(testing::FullDump());
    for (const auto& slot : korvel::testing::Patterns(image)) {
        EXPECT_EQ(slot.name, "");
    }
    for (int b = 0; b < 12; ++b) {
        EXPECT_EQ(image.GetBankName(b), "");
        EXPECT_EQ(image.GetPlaylistName(b), "");
        EXPECT_EQ(image.GetTrackName(b, 7), "");
    }
}

// Messages that have no slot, or cannot be held safely, are passed over and the rest is read.
struct PassOverCase {
    const char* what;
    Bytes bad;
    SkipReason reason;
};
void PrintTo(const PassOverCase& c, std::ostream* os) {
    *os << c.what;
}

class PassOver : public ::testing::TestWithParam<PassOverCase> {};

TEST_P(PassOver, IsNotHeldAndTheNextMessageIs) {
    const auto& c = GetParam();
    const Bytes next = testing::PlaylistMessage(3);
    DumpImage image;
    const auto result = image.Load(Concat({c.bad, next}));
    EXPECT_EQ(result.report.Count(c.reason), 1u) << c.what;
    EXPECT_EQ(image.WriteToBytes(), next) << c.what;
}

// What the status line says of a load that passed messages over, by kind.
TEST(PassOver, SummaryCountsEachKind) {
    Bytes cutOff = testing::PatternMessage(0, 0, 1);
    cutOff.pop_back();
    DumpImage image;
    const auto result = image.Load(
        Concat({testing::ForeignMessage(), testing::PatternMessage(0, 0, 0),
                testing::PatternMessage(0, 0, 0, 30), testing::MessageOfType(4), cutOff}));
    EXPECT_EQ(SkippedSummary(result.report),
              "Passed over and not saved: 2 messages of other devices or of unused kinds; 1 W2 "
              "message replaced by a later one at the same position; 1 damaged message.");
    EXPECT_EQ(SkippedSummary(DumpImage().Load(testing::PlaylistMessage(3)).report), "");
}

Bytes WithByte(Bytes message, std::size_t at, std::uint8_t value) {
    message[at] = value;
    return message;
}

Bytes CutBeforeEnd(Bytes message) {
    message.resize(message.size() - 3);
    return message;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, PassOver,
    ::testing::Values(
        PassOverCase{"pattern byte 8 above 23", WithByte(testing::PatternMessage(0, 0, 0), 8, 24),
                     SkipReason::outOfRange},
        PassOverCase{"pattern byte 9 above 15", WithByte(testing::PatternMessage(0, 0, 0), 9, 16),
                     SkipReason::outOfRange},
        PassOverCase{"playlist byte 8 above 95", WithByte(testing::PlaylistMessage(0), 8, 96),
                     SkipReason::outOfRange},
        PassOverCase{"pattern of 11 bytes",
                     Bytes{0xF0, 'Q', 'R', 'V', 0, 'W', '2', 0x01, 0x00, 0x00, 0xF7},
                     SkipReason::tooShort},
        PassOverCase{"playlist of 10 bytes",
                     Bytes{0xF0, 'Q', 'R', 'V', 0, 'W', '2', 0x02, 0x00, 0xF7},
                     SkipReason::tooShort},
        PassOverCase{"message cut off before the next F0",
                     CutBeforeEnd(testing::PatternMessage(0, 0, 0)), SkipReason::cutOff},
        PassOverCase{"foreign message", testing::ForeignMessage(), SkipReason::foreignMessage},
        PassOverCase{"header with 01 at position 4",
                     WithByte(testing::PatternMessage(0, 0, 0), 4, 0x01),
                     SkipReason::foreignMessage}));

TEST(Load, CutOffAtTheEndOfTheDataIsNotHeld) {
    const Bytes pattern = testing::PatternMessage(0, 0, 0);
    for (std::size_t keep = 1; keep < pattern.size(); ++keep) {
        DumpImage image;
        const auto result =
            image.Load(Concat({pattern, Bytes(pattern.begin(), pattern.begin() + keep)}));
        EXPECT_EQ(image.WriteToBytes(), pattern) << "kept " << keep;
        EXPECT_EQ(result.report.Total(), 1u) << "kept " << keep;
    }
}

TEST(Write, CanonicalOrderWhateverTheInputOrder) {
    const Bytes t3 = testing::Type3Message();
    const Bytes pl0 = testing::PlaylistMessage(0), pl95 = testing::PlaylistMessage(95);
    const Bytes pa0 = testing::PatternMessageAt(0), pa383 = testing::PatternMessageAt(383);
    const Bytes pa200 = testing::PatternMessageAt(200);
    EXPECT_EQ(Written(Concat({pa383, pl95, pa0, t3, pa200, pl0})),
              Concat({t3, pl0, pl95, pa0, pa200, pa383}));
}

TEST(Write, CanonicalFileIsWrittenBackByteForByte) {
    const Bytes dump = testing::FullDump(7);
    EXPECT_EQ(Written(dump), dump);
}

TEST(Write, FreshImageWritesNothing) {
    DumpImage image;
    EXPECT_TRUE(image.WriteToBytes().empty());
}

TEST(Write, ClearedSlotIsNotWrittenAndDataStaysAsItWas) {
    const Bytes dump = testing::FullDump();
    DumpImage image;
    (void)image.Load(dump);
    korvel::testing::Patterns(image)[5].Clear();
    EXPECT_TRUE(std::equal(dump.begin(), dump.end(), image.LoadedBytes().data()));
    EXPECT_EQ(image.WriteToBytes().size(), dump.size() - testing::PatternMessageAt(5).size());
}

TEST(Write, WritesToAFileAndLoadsBack) {
    testing::TempDir dir;
    const Bytes dump = testing::FullDump(3);
    DumpImage image;
    (void)image.Load(dump);
    ASSERT_TRUE(image.SaveFile(dir.File("out.syx")).ok());
    EXPECT_EQ(testing::ReadFile(dir.File("out.syx")), dump);
    DumpImage again;
    EXPECT_TRUE(again.LoadFile(dir.File("out.syx")).ok());
    EXPECT_EQ(again.WriteToBytes(), dump);
}

TEST(LoadFile, MissingFileCannotBeOpened) {
    testing::TempDir dir;
    DumpImage image;
    EXPECT_EQ(image.LoadFile(dir.File("missing.syx")).status, LoadStatus::cannotOpen);
}

TEST(Load, RoundTripIsStableForArbitraryBytes) {
    // Write(Load(Write(Load(x)))) == Write(Load(x)) for a mix of valid and broken input.
    std::uint32_t state = 12345;
    for (int round = 0; round < 200; ++round) {
        Bytes input = testing::FullDump(round);
        for (int k = 0; k < 40; ++k) {
            state = state * 1664525u + 1013904223u;
            const std::size_t at = state % input.size();
            const std::uint8_t values[] = {0xF0, 0xF7, 0x00, 0x7F, 0x01, 0x02, 0x03, 0x60};
            input[at] = values[(state >> 24) % 8];
        }
        const Bytes once = Written(input);
        EXPECT_EQ(Written(once), once) << "round " << round;
    }
}

TEST(MessageSlot, CopyFromFreesTheOldCopyAndIsExactlyAsLong) {
    DumpImage source;
    (void)source.Load(Concat({testing::PatternMessageAt(0, 24), testing::PatternMessageAt(1, 60)}));
    MessageSlot slot;
    ASSERT_TRUE(slot.CopyFrom(korvel::testing::Patterns(source)[1]));
    EXPECT_EQ(slot.Length(), korvel::testing::Patterns(source)[1].Length());
    ASSERT_TRUE(slot.CopyFrom(korvel::testing::Patterns(source)[0]));
    EXPECT_EQ(slot.Length(), korvel::testing::Patterns(source)[0].Length());
    EXPECT_EQ(slot.begin, slot.copy.get());
    EXPECT_TRUE(std::equal(slot.begin, slot.end + 1, korvel::testing::Patterns(source)[0].begin));
    MessageSlot empty;
    EXPECT_FALSE(slot.CopyFrom(empty));
    EXPECT_FALSE(slot.IsEmpty());
}

TEST(MessageSlot, LoadedBytesAreNeverReaddressed) {
    const Bytes pattern = testing::PatternMessage(0, 0, 0);
    DumpImage image;
    (void)image.Load(pattern);
    EXPECT_FALSE(korvel::testing::Patterns(image)[0].ReaddressPattern(2, 7, 15));
    EXPECT_TRUE(std::equal(pattern.begin(), pattern.end(), image.LoadedBytes().data()));
}

}  // namespace
}  // namespace korvel

namespace korvel {
namespace {

// Slots point into the image's own bytes, so a copied image would point into the original.
static_assert(!std::is_copy_constructible_v<DumpImage>);
static_assert(!std::is_copy_assignable_v<DumpImage>);
static_assert(!std::is_copy_constructible_v<MessageSlot>);

TEST(Load, FindsMessageEndsAtEveryAlignment) {
    // Message ends land on every offset within a vector, and runs of bytes longer than the
    // scanner's blocks, so both its fast and its careful paths are exercised.
    for (int length = 0; length < 300; length += 7) {
        for (int lead = 0; lead < 40; lead += 3) {
            const Bytes pattern = testing::PatternMessage(0, 1, 2, length);
            const Bytes playlist = testing::PlaylistMessage(5, length / 2 + 1);
            const Bytes input =
                testing::Concat({Bytes(static_cast<std::size_t>(lead), 0x11), pattern, playlist});
            DumpImage image;
            const auto result = image.Load(input);
            ASSERT_EQ(result.report.Total(), 0u) << length << " " << lead;
            ASSERT_EQ(image.WriteToBytes(), testing::Concat({playlist, pattern}))
                << length << " " << lead;
        }
    }
}

TEST(WrongChecksums, NameTheSlotWhereItStartsAndBothValues) {
    Bytes pattern = testing::PatternMessageAt(20, 24, 3);
    const int right = pattern[pattern.size() - 2];
    pattern[pattern.size() - 2] = static_cast<std::uint8_t>(right ^ 1);
    const Bytes good = testing::PlaylistMessage(9, 16, 1);
    DumpImage image;
    ASSERT_TRUE(image.Load(Concat({good, pattern})).ok());
    const auto wrong = WrongChecksums(image);
    ASSERT_EQ(wrong.size(), 1u);
    EXPECT_EQ(wrong[0].place, (SlotPlace{SlotArea::pattern, 20}));
    EXPECT_EQ(wrong[0].offset, good.size());
    EXPECT_EQ(wrong[0].found, right ^ 1);
    EXPECT_EQ(wrong[0].expected, right);
}

}  // namespace
}  // namespace korvel

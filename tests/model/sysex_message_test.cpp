#include "sysex_message.h"
#include "dump_builder.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using testing::Bytes;

Bytes Message(std::uint8_t type, std::vector<std::uint8_t> indexAndData) {
    Bytes message = {0xF0, 'Q', 'R', 'V', 0x00, 'W', '2', type};
    for (const auto byte : indexAndData) {
        message.push_back(byte);
    }
    message.push_back(0x55);  // stale checksum
    message.push_back(0xF7);
    return message;
}

TEST(Checksum, WorkedPatternExample) {
    Bytes m = Message(0x01, {0x0A, 0x07, 1, 2, 3, 4, 5, 6, 7, 0x7F, 0x10});
    ASSERT_EQ(m.size(), 21u);
    ASSERT_TRUE(UpdateChecksum(m.data(), &m.back(), 2));
    EXPECT_EQ(m[19], 0x3E);
}

TEST(Checksum, WorkedPlaylistExample) {
    Bytes m = Message(0x02, {0x11, 1, 2, 3, 4, 5, 6, 7, 0x00, 0x10});
    ASSERT_TRUE(UpdateChecksum(m.data(), &m.back(), 1));
    EXPECT_EQ(m[18], 0x3F);
}

TEST(Checksum, PackingBytesDoNotCountOtherBytesDo) {
    // Data region of 24 bytes: packing bytes at data positions 7, 15 and 23.
    const Bytes original = testing::PatternMessage(0, 0, 0, 24);
    const int dataStart = 10;
    const int checksumAt = static_cast<int>(original.size()) - 2;
    for (int i = 0; i < 24; ++i) {
        Bytes m = original;
        m[dataStart + i] = static_cast<std::uint8_t>((m[dataStart + i] + 1) & 0x7F);
        ASSERT_TRUE(UpdateChecksum(m.data(), &m.back(), 2));
        const bool packing = i % 8 == 7;
        // Raising a byte by one modulo 128 raises the seven-bit sum by one as well.
        const int expected = packing ? original[checksumAt] : (original[checksumAt] + 1) & 0x7F;
        EXPECT_EQ(m[checksumAt], expected) << "data byte " << i;
    }
}

TEST(Checksum, EmptyDataRegionSumsTypeAndIndexBytes) {
    Bytes m = Message(0x01, {0x7F, 0x0F});
    ASSERT_TRUE(UpdateChecksum(m.data(), &m.back(), 2));
    EXPECT_EQ(m[10], (0x01 + 0x7F + 0x0F) & 0x7F);
}

TEST(Checksum, RefusesMessagesTooShortForIt) {
    Bytes pattern = {0xF0, 'Q', 'R', 'V', 0x00, 'W', '2', 0x01, 0x00, 0x00, 0xF7};  // 11 bytes
    const Bytes before = pattern;
    EXPECT_FALSE(UpdateChecksum(pattern.data(), &pattern.back(), 2));
    EXPECT_FALSE(ReaddressPattern(pattern.data(), &pattern.back(), 2, 7, 15));
    EXPECT_EQ(pattern, before);
    Bytes playlist = {0xF0, 'Q', 'R', 'V', 0x00, 'W', '2', 0x02, 0x00, 0xF7};  // 10 bytes
    EXPECT_FALSE(ReaddressPlaylist(playlist.data(), &playlist.back(), 11, 7));
    EXPECT_EQ(playlist.back(), 0xF7);
    EXPECT_EQ(playlist[8], 0x00);
}

TEST(Readdress, PatternToLastPositionKeepsEverythingElse) {
    const Bytes original = testing::PatternMessage(0, 1, 2, 40, 3);
    Bytes m = original;
    ASSERT_TRUE(ReaddressPattern(m.data(), &m.back(), 2, 7, 15));
    ASSERT_EQ(m.size(), original.size());
    EXPECT_EQ(m[8], 0x17);
    EXPECT_EQ(m[9], 0x0F);
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (i != 8 && i != 9 && i != m.size() - 2) {
            EXPECT_EQ(m[i], original[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(m[m.size() - 2], ComputeChecksum(m.data(), &m.back(), 2));
}

TEST(Readdress, PlaylistToLastPositionKeepsEverythingElse) {
    const Bytes original = testing::PlaylistMessage(0, 30, 4);
    Bytes m = original;
    ASSERT_TRUE(ReaddressPlaylist(m.data(), &m.back(), 11, 7));
    ASSERT_EQ(m.size(), original.size());
    EXPECT_EQ(m[8], 0x5F);
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (i != 8 && i != m.size() - 2) {
            EXPECT_EQ(m[i], original[i]) << "byte " << i;
        }
    }
}

TEST(Readdress, SamePositionRepairsAStaleChecksum) {
    Bytes m = testing::PatternMessage(1, 3, 5);
    const Bytes good = m;
    m[m.size() - 2] = 0x00;
    ASSERT_TRUE(ReaddressPattern(m.data(), &m.back(), 1, 3, 5));
    EXPECT_EQ(m, good);
}

struct HeaderCase {
    Bytes bytes;
    bool valid;
};
void PrintTo(const HeaderCase& c, std::ostream* os) {
    *os << (c.valid ? "valid" : "invalid");
}

class HeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderTest, MatchesOnlyTheW2Header) {
    const auto& c = GetParam();
    EXPECT_EQ(IsHeaderValid(c.bytes.data(), c.bytes.data() + c.bytes.size()), c.valid);
}

INSTANTIATE_TEST_SUITE_P(Headers, HeaderTest,
                         ::testing::Values(HeaderCase{{0xF0, 'Q', 'R', 'V', 0x00, 'W', '2'}, true},
                                           HeaderCase{{0xF0, 'Q', 'R', 'V', 0x01, 'W', '2'}, false},
                                           HeaderCase{{0xF0, 'Q', 'R', 'W', 0x00, 'W', '2'}, false},
                                           HeaderCase{{0xF0, 'q', 'R', 'V', 0x00, 'W', '2'}, false},
                                           HeaderCase{{0xF7, 'Q', 'R', 'V', 0x00, 'W', '2'}, false},
                                           HeaderCase{{0xF0, 'Q', 'R', 'V', 0x00, 'W'}, false}));

}  // namespace
}  // namespace korvel

#include "dump_builder.h"
#include "dump_check.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvel {
namespace {

using testing::Bytes;
using testing::Concat;
using testing::PatternMessageAt;
using testing::PlaylistMessage;

std::unique_ptr<DumpImage> Loaded(const Bytes& bytes) {
    auto image = std::make_unique<DumpImage>();
    EXPECT_TRUE(image->Load(bytes).ok());
    return image;
}

struct CheckCase {
    const char* what;
    Bytes received;
    std::string summary;
    std::vector<std::string> failures;  // named under 12 banks, with their word
};

class DumpChecks : public ::testing::TestWithParam<CheckCase> {};

// Sent: the type-3 message, playlist 9 (bank 2) and slots 0 and 20 (B01 T01 P01, B04 T02 P01).
TEST_P(DumpChecks, NameWhatDidNotComeBack) {
    const auto sent = Loaded(Concat({testing::Type3Message(), PlaylistMessage(9, 16, 1),
                                     PatternMessageAt(0, 24, 2), PatternMessageAt(20, 24, 3)}));
    const DumpCheck check = CheckDump(*sent, *Loaded(GetParam().received));
    EXPECT_EQ(check.Summary(), GetParam().summary) << GetParam().what;
    std::vector<std::string> failures;
    for (const FailedSlot& slot : check.failures) {
        failures.push_back(FailedSlotName(slot, sent->Layout()) + " " +
                           CheckFailureWord(slot.failure));
    }
    EXPECT_EQ(failures, GetParam().failures) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DumpChecks,
    ::testing::Values(
        CheckCase{"all back",
                  Concat({testing::Type3Message(), PlaylistMessage(9, 16, 1),
                          PatternMessageAt(0, 24, 2), PatternMessageAt(20, 24, 3)}),
                  "The W2 holds all 4 messages as sent.",
                  {}},
        CheckCase{"one differs, one missing, one extra",
                  Concat({testing::Type3Message(), PlaylistMessage(9, 16, 1),
                          PatternMessageAt(20, 24, 9), PatternMessageAt(5, 24, 4)}),
                  "The W2 holds 2 of 4 messages as sent: 1 differs, 1 missing. It also holds 1 "
                  "slot the dump does not.",
                  {"B01 T01 P01 missing", "B04 T02 P01 differs"}},
        CheckCase{"nothing came",
                  Bytes{},
                  "Nothing came back from the W2.",
                  {"Type-3 message missing", "B01 T01 P01 missing", "Playlist B02 missing",
                   "B04 T02 P01 missing"}}));

}  // namespace
}  // namespace korvel

// What a load passed over, so that the user can be told the saved dump will lack it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

enum class SkipReason : int {
    foreignMessage,  // an F0 that does not begin a W2 header: another device's message
    unusedType,      // a W2 message of a type other than 01, 02 and 03
    outOfRange,      // a pattern or playlist message whose index bytes name no slot
    tooShort,        // a pattern or playlist message too short for its index bytes and checksum
    cutOff,          // a message with no F7 before the next F0 or the end of the data
    replaced,        // an earlier message at the same position as a later one
};
inline constexpr std::size_t kSkipReasonCount = 6;

const char* SkipReasonText(SkipReason reason);

struct LoadReport;

// One line for the user: what was passed over, counted in three groups a musician can tell
// apart (other devices' and unused messages, W2 messages replaced by a later one at the same
// position, damaged messages); empty when nothing was.
std::string SkippedSummary(const LoadReport& report);

struct SkippedMessage {
    std::uint32_t offset = 0;  // position of the message's F0 in the loaded bytes
    SkipReason reason = SkipReason::foreignMessage;
};

struct LoadReport {
    // Only the first entries are kept, so that a hostile file cannot make the list huge; the
    // counts cover every message.
    static constexpr std::size_t kMaxEntries = 4096;

    std::array<std::uint32_t, kSkipReasonCount> counts{};
    std::vector<SkippedMessage> entries;

    void Add(SkipReason reason, std::uint32_t offset);
    std::uint32_t Count(SkipReason reason) const { return counts[static_cast<int>(reason)]; }
    std::uint64_t Total() const;
};

}  // namespace korvel

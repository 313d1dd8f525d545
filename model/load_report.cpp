#include "load_report.h"

#include "count_text.h"

namespace korvel {

const char* SkipReasonText(SkipReason reason) {
    switch (reason) {
        case SkipReason::foreignMessage:
            return "message of another device";
        case SkipReason::unusedType:
            return "message of an unused type";
        case SkipReason::outOfRange:
            return "index bytes name no memory position";
        case SkipReason::tooShort:
            return "message too short for its index bytes and checksum";
        case SkipReason::cutOff:
            return "message cut off before its F7";
        case SkipReason::replaced:
            return "replaced by a later message at the same position";
    }
    return "unknown";
}

void LoadReport::Add(SkipReason reason, std::uint32_t offset) {
    ++counts[static_cast<int>(reason)];
    if (entries.size() < kMaxEntries) {
        entries.push_back({offset, reason});
    }
}

std::uint64_t LoadReport::Total() const {
    std::uint64_t total = 0;
    for (const auto count : counts) {
        total += count;
    }
    return total;
}

std::string SkippedSummary(const LoadReport& report) {
    const std::uint64_t other =
        report.Count(SkipReason::foreignMessage) + report.Count(SkipReason::unusedType);
    const std::uint64_t replaced = report.Count(SkipReason::replaced);
    const std::uint64_t damaged = report.Count(SkipReason::outOfRange) +
                                  report.Count(SkipReason::tooShort) +
                                  report.Count(SkipReason::cutOff);
    std::string parts;
    const auto add = [&parts](std::uint64_t count, std::string text) {
        if (count > 0) {
            parts += (parts.empty() ? "" : "; ") + text;
        }
    };
    add(other, Counted(other, "message of another device or of an unused kind",
                       "messages of other devices or of unused kinds"));
    add(replaced, Counted(replaced, "W2 message replaced by a later one at the same position",
                          "W2 messages replaced by later ones at the same position"));
    add(damaged, Counted(damaged, "damaged message", "damaged messages"));
    return parts.empty() ? parts : "Passed over and not saved: " + parts + ".";
}

}  // namespace korvel

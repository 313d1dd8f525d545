#include "load_report.h"

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

}  // namespace korvel

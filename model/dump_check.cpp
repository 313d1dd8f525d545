#include "dump_check.h"

#include "count_text.h"

#include <algorithm>

namespace korvel {

const char* CheckFailureWord(CheckFailure failure) {
    return failure == CheckFailure::missing ? "missing" : "differs";
}

ReadBack CheckReadBack(const DumpImage& sent, std::span<const std::uint8_t> received) {
    DumpImage readBack;
    ReadBack result;
    result.passedOver = readBack.Load(received).report;
    result.check = CheckDump(sent, readBack);
    return result;
}

DumpCheck CheckDump(const DumpImage& sent, const DumpImage& received) {
    DumpCheck check;
    const Comparison comparison = Comparison::Of(sent, received);
    if (!sent.Type3Slot().IsEmpty()) {
        ++check.held;
        if (received.Type3Slot().IsEmpty()) {
            check.failures.push_back({std::nullopt, CheckFailure::missing});
        } else if (comparison.Type3Differs()) {
            check.failures.push_back({std::nullopt, CheckFailure::differs});
        } else {
            ++check.asSent;
        }
    }
    for (const SlotArea area : {SlotArea::playlist, SlotArea::pattern}) {
        const int count = area == SlotArea::pattern ? kPatternSlotCount : kPlaylistSlotCount;
        for (int i = 0; i < count; ++i) {
            const SlotPlace place{area, i};
            switch (comparison.At(kLeftSide, place).mark) {
                case Mark::same:
                    ++check.held;
                    ++check.asSent;
                    break;
                case Mark::differs:
                    ++check.held;
                    check.failures.push_back({place, CheckFailure::differs});
                    break;
                case Mark::onlyHere:
                    ++check.held;
                    check.failures.push_back({place, CheckFailure::missing});
                    break;
                case Mark::onlyThere:
                    ++check.extra;
                    break;
                case Mark::none:
                    break;
            }
        }
    }
    // In the order the sent dump's tree shows them: bank by bank, the playlist set first.
    const MemoryLayout layout = sent.Layout();
    const auto rank = [layout](const FailedSlot& slot) {
        return slot.place ? TreeRank(*slot.place, layout) : -1;  // the type-3 message first
    };
    std::stable_sort(
        check.failures.begin(), check.failures.end(),
        [&rank](const FailedSlot& a, const FailedSlot& b) { return rank(a) < rank(b); });
    check.nothingCame = received.MessagesInSaveOrder().empty();
    return check;
}

std::string DumpCheck::Summary() const {
    if (nothingCame) {
        return "Nothing came back from the W2.";
    }
    std::string text;
    if (failures.empty()) {
        text = held == 1 ? "The W2 holds the 1 message as sent."
                         : "The W2 holds all " +
                               Counted(static_cast<std::uint64_t>(held), "message", "messages") +
                               " as sent.";
    } else {
        int differing = 0;
        for (const FailedSlot& slot : failures) {
            differing += slot.failure == CheckFailure::differs ? 1 : 0;
        }
        const int missing = static_cast<int>(failures.size()) - differing;
        text = "The W2 holds " + GroupedNumber(static_cast<std::uint64_t>(asSent)) + " of " +
               Counted(static_cast<std::uint64_t>(held), "message", "messages") +
               " as sent: " + GroupedNumber(static_cast<std::uint64_t>(differing)) + " " +
               (differing == 1 ? "differs" : "differ") + ", " +
               GroupedNumber(static_cast<std::uint64_t>(missing)) + " missing.";
    }
    if (extra > 0) {
        text += " It also holds " + Counted(static_cast<std::uint64_t>(extra), "slot", "slots") +
                " the dump does not.";
    }
    return text;
}

std::string DumpCheck::Report(MemoryLayout layout) const {
    std::string text = Summary();
    constexpr std::size_t kListed = 24;
    for (std::size_t i = 0; i < failures.size() && i < kListed; ++i) {
        text += '\n';
        text += FailedSlotName(failures[i], layout) + ": " + CheckFailureWord(failures[i].failure);
    }
    if (failures.size() > kListed) {
        text += "\n... and " + std::to_string(failures.size() - kListed) + " more";
    }
    return text;
}

std::string FailedSlotName(const FailedSlot& slot, MemoryLayout layout) {
    return slot.place ? ItemName(ItemOfSlot(*slot.place, layout)) : "Type-3 message";
}

}  // namespace korvel

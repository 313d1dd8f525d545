#include "count_text.h"

namespace korvel {

std::string GroupedNumber(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string Counted(std::uint64_t count, const char* one, const char* many) {
    return GroupedNumber(count) + " " + (count == 1 ? one : many);
}

}  // namespace korvel

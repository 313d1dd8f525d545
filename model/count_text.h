// Counts as people read them: digits grouped by thousands, and the noun that fits the count.
#pragma once

#include <cstdint>
#include <string>

namespace korvel {

// 57,344.
std::string GroupedNumber(std::uint64_t value);
// "1 message", "2,048 messages".
std::string Counted(std::uint64_t count, const char* one, const char* many);

}  // namespace korvel

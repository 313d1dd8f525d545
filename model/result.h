// Small result values for operations on files.
#pragma once

#include <string>

namespace korvel {

struct [[nodiscard]] WriteResult {
    bool ok = true;
    std::string reason;  // for a failure: why, in words a person can read

    static WriteResult Success() { return {}; }
    static WriteResult Failure(std::string why) { return {false, std::move(why)}; }
};

}  // namespace korvel

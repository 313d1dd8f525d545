// Small result values: an operation's outcome, or why it failed, in words a person can read.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace korvel {

struct [[nodiscard]] WriteResult {
    bool ok = true;
    std::string reason;  // for a failure: why, in words a person can read

    static WriteResult Success() { return {}; }
    static WriteResult Failure(std::string why) { return {false, std::move(why)}; }
};

// A value, or the reason there is none.
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT: a value converts to its result
    static Result Failure(std::string why) {
        Result result;
        result.reason_ = std::move(why);
        return result;
    }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& operator*() const& { return *value_; }
    T&& operator*() && { return std::move(*value_); }
    const T* operator->() const { return &*value_; }
    const std::string& reason() const { return reason_; }

  private:
    Result() = default;
    std::optional<T> value_;
    std::string reason_;
};

}  // namespace korvel

// The one result type of files, paths and MIDI: a value (or, for Result<void>, that the
// operation was done), or why there is none, in words a person can read.
#pragma once

#include <concepts>
#include <optional>
#include <string>
#include <utility>

namespace korvel {

// A value, or the reason there is none.
template <typename T>
class [[nodiscard]] Result {
  public:
    // A value converts to its result, as does anything that converts to the value.
    template <typename U>
    requires std::convertible_to<U, T> Result(U&& value)
        : value_(std::forward<U>(value)) {}  // NOLINT(google-explicit-constructor)
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
    T value_or(T otherwise) const { return value_ ? *value_ : std::move(otherwise); }

  private:
    Result() = default;
    std::optional<T> value_;
    std::string reason_;
};

// The outcome of an operation that gives back no value: done, or the reason it failed.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;  // done
    static Result Success() { return {}; }
    static Result Failure(std::string why) {
        Result result;
        result.failed_ = true;
        result.reason_ = std::move(why);
        return result;
    }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& reason() const { return reason_; }

  private:
    bool failed_ = false;
    std::string reason_;
};

using Outcome = Result<void>;

}  // namespace korvel

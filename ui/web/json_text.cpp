#include "json_text.h"

#include <charconv>

namespace korvel::web {

std::optional<long long> NumberIn(std::string_view answer) {
    long long number = 0;
    const auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), number);
    if (error != std::errc() || end != answer.data() + answer.size() || answer.empty()) {
        return std::nullopt;
    }
    return number;
}

void JsonObject::Key(std::string_view key) {
    if (text_.size() > 1) {
        text_ += ',';
    }
    text_ += JsonString(std::string(key)) + ':';
}

JsonObject& JsonObject::Add(std::string_view key, std::string_view value) {
    Key(key);
    text_ += JsonString(std::string(value));
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, long long value) {
    Key(key);
    text_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, bool value) {
    Key(key);
    text_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::AddJson(std::string_view key, std::string_view json) {
    Key(key);
    text_ += json;
    return *this;
}

}  // namespace korvel::web

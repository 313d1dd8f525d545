// JSON text for the page: the few shapes the core hands over (requests, trees, the command
// table, port lists, backups), written by hand; the page parses, the core never needs to.
#pragma once

#include "stored_text.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvel::web {

// The page's answer as a number, nothing when it is none.
std::optional<long long> NumberIn(std::string_view answer);

// An object built field by field: JsonObject().Add("kind", "message").Add("pane", 1).Text().
class JsonObject {
  public:
    JsonObject& Add(std::string_view key, std::string_view value);
    JsonObject& Add(std::string_view key, const char* value) {
        return Add(key, std::string_view(value));
    }
    JsonObject& Add(std::string_view key, const std::string& value) {
        return Add(key, std::string_view(value));
    }
    JsonObject& Add(std::string_view key, long long value);
    JsonObject& Add(std::string_view key, int value) {
        return Add(key, static_cast<long long>(value));
    }
    JsonObject& Add(std::string_view key, bool value);
    // A value that is JSON text already (an array, another object).
    JsonObject& AddJson(std::string_view key, std::string_view json);
    std::string Text() const { return text_ + "}"; }

  private:
    void Key(std::string_view key);
    std::string text_ = "{";
};

}  // namespace korvel::web

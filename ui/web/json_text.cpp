#include "json_text.h"

namespace korvel::web {

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

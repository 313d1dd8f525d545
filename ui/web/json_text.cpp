#include "json_text.h"

#include <cstdio>

namespace korvel::web {

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

void JsonObject::Key(std::string_view key) {
    if (text_.size() > 1) {
        text_ += ',';
    }
    text_ += Quoted(key) + ':';
}

JsonObject& JsonObject::Add(std::string_view key, std::string_view value) {
    Key(key);
    text_ += Quoted(value);
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

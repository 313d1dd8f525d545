#include "stored_text.h"

#include <cstdint>
#include <cstdio>

namespace korvel {

namespace {

// The length of the sequence that starts at `at`, or 0 when it is not well-formed. The ranges
// of the second byte are the table of RFC 3629, section 4.
std::size_t SequenceLength(const std::string& bytes, std::size_t at) {
    const auto byte = [&bytes](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(at + 1) < low || byte(at + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

}  // namespace

bool IsStrictUtf8(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = SequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string StoredTextToUtf8(const std::string& bytes) {
    if (IsStrictUtf8(bytes)) {
        return bytes;
    }
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (const char ch : StoredTextToUtf8(text)) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += ch;
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            json += escape;
        } else {
            json += ch;
        }
    }
    return json + "\"";
}

}  // namespace korvel

#include "side_file_text.h"

#include "stored_text.h"

#include <algorithm>

#include <windows.h>

namespace korvel {

namespace {

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

// The text converted from one code page to UTF-16; empty when it is not valid there.
std::wstring WideOf(UINT codePage, const std::string& text) {
    const int size = static_cast<int>(text.size());
    const int length =
        ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(),
                              length);
    }
    return wide;
}

// UTF-16 in a code page; `complete` is false when a character has no form there.
std::string NarrowOf(UINT codePage, const std::wstring& wide, bool& complete) {
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    BOOL* const asked = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length =
        ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, asked);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr,
                              asked);
    }
    complete = length > 0 && usedDefault == FALSE;
    return text;
}

}  // namespace

std::string NameOfSideFileLineIn(unsigned codePage, const std::string& line) {
    if (IsAscii(line) || IsStrictUtf8(line)) {
        return line;
    }
    bool complete = false;
    const std::string name = NarrowOf(CP_UTF8, WideOf(codePage, line), complete);
    return complete ? name : line;
}

std::string SideFileLineOfNameIn(unsigned codePage, const std::string& name) {
    if (IsAscii(name) || !IsStrictUtf8(name)) {
        return name;
    }
    bool complete = false;
    const std::string line = NarrowOf(codePage, WideOf(CP_UTF8, name), complete);
    // A line that is UTF-8 is read as UTF-8: such a spelling would come back as another name.
    return complete && !IsStrictUtf8(line) ? line : name;
}

std::string NameOfSideFileLine(const std::string& line) {
    return NameOfSideFileLineIn(CP_ACP, line);
}

std::string SideFileLineOfName(const std::string& name) {
    return SideFileLineOfNameIn(CP_ACP, name);
}

}  // namespace korvel

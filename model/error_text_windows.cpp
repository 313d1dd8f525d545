#include "error_text.h"

#include <algorithm>
#include <cstring>

#include <windows.h>

namespace korvel {

namespace {

std::string Utf8OfWide(const std::wstring& wide) {
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    }
    return text;
}

// The C library's text is in the ANSI code page, as its locale spells it.
std::string Utf8OfAnsi(const std::string& ansi) {
    const int size = static_cast<int>(ansi.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
    }
    return Utf8OfWide(wide);
}

// The system's own message, asked for in UTF-16; without the line end it carries.
std::string SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring wide =
        length > 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
    ::LocalFree(buffer);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ' ||
                             wide.back() == L'.')) {
        wide.pop_back();
    }
    return wide.empty() ? "system error " + std::to_string(code) : Utf8OfWide(wide);
}

}  // namespace

std::string ErrorText(const std::error_code& error) {
    if (error.category() == std::system_category()) {
        return SystemMessage(static_cast<DWORD>(error.value()));
    }
    return Utf8OfAnsi(error.message());
}

std::string ErrnoText(int error) {
    return Utf8OfAnsi(std::strerror(error));
}

}  // namespace korvel

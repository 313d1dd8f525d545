#include "arguments.h"

#if defined(_WIN32)
#include <windows.h>
#include <shellapi.h>
#endif

namespace korvel::cli {

#if defined(_WIN32)

namespace {

std::string Utf8Of(const wchar_t* wide) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.pop_back();  // the terminating zero
    return text;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> words;
    for (int i = 1; i < count; ++i) {
        words.push_back(Utf8Of(wide[i]));
    }
    ::LocalFree(wide);
    return words;
}

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

#endif

}  // namespace korvel::cli

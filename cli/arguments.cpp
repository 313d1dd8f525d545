#include "arguments.h"

#if defined(_WIN32)
#include "paths.h"

#include <filesystem>

#include <windows.h>
#include <shellapi.h>
#endif

namespace korvel::cli {

#if defined(_WIN32)

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> words;
    for (int i = 1; i < count; ++i) {
        words.push_back(Utf8Of(std::filesystem::path(wide[i])));
    }
    ::LocalFree(wide);
    return words;
}

void PrintInUtf8() {
    ::SetConsoleOutputCP(CP_UTF8);
}

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void PrintInUtf8() {}

#endif

}  // namespace korvel::cli

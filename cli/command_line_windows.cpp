#include "command_line.h"

#include "paths.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include <windows.h>
#include <shellapi.h>

namespace korvel::cli {

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

// The console redraws no line in place that the programs' progress would need.
bool ErrorStreamIsTerminal() {
    return false;
}

void EndWith(int code) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(code));
    std::exit(code);  // not reached
}

}  // namespace korvel::cli

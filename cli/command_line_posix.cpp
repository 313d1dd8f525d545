#include "command_line.h"

#include <unistd.h>

#include <cstdlib>

namespace korvel::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void PrintInUtf8() {}

bool ErrorStreamIsTerminal() {
    return ::isatty(2) == 1;
}

void EndWith(int code) {
    std::exit(code);
}

}  // namespace korvel::cli

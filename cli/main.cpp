// korvel-cli: the dump model's operations from the command line.
#include "commands.h"
#include "options.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const korvel::cli::ParsedOptions parsed = korvel::cli::ParseOptions(words);
    if (!parsed.error.empty()) {
        std::cerr << "korvel-cli: " << parsed.error << "; see korvel-cli --help\n";
        return korvel::cli::kBadArguments;
    }
    return korvel::cli::RunCommand(parsed.options, {std::cout, std::cerr});
}

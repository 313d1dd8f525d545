// korvel-cli: the dump model's operations from the command line.
#include "atomic_file.h"

#include "command_line.h"
#include "commands.h"
#include "ending_signals.h"
#include "options.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace {

// An interrupted save leaves no temporary file behind; the program then ends as the signal
// would have ended it.
extern "C" void EndOnSignal(int signal) {
    korvel::RemoveInterruptedTemporaryFile();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void CatchEndingSignals() {
    for (const int signal : korvel::cli::kEndingSignals) {
        std::signal(signal, EndOnSignal);
    }
}

}  // namespace

namespace {

int Run(int argc, char** argv) {
    try {
        const std::vector<std::string> words = korvel::cli::Utf8Arguments(argc, argv);
        const korvel::cli::ParsedOptions parsed = korvel::cli::ParseOptions(words);
        if (!parsed.error.empty()) {
            std::cerr << "korvel-cli: " << parsed.error << "; see korvel-cli --help\n";
            return korvel::cli::kBadArguments;
        }
        return korvel::cli::RunCommand(parsed.options, {std::cout, std::cerr});
    } catch (const std::bad_alloc&) {
        // The standard library's containers throw when memory runs out; no input may abort.
        std::cerr << "korvel-cli: there is not enough memory for this command\n";
        return korvel::cli::kFileError;
    } catch (const std::exception& error) {
        // Whatever a library still throws ends the command with its words, not an abort.
        std::cerr << "korvel-cli: " << error.what() << "\n";
        return korvel::cli::kFileError;
    }
}

}  // namespace

int main(int argc, char** argv) {
    CatchEndingSignals();
    korvel::cli::PrintInUtf8();
    korvel::cli::EndWith(Run(argc, argv));
}

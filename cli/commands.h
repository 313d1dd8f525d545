// The commands of korvel-cli. Each returns the program's exit code.
#pragma once

#include "options.h"

#include <iosfwd>

namespace korvel::cli {

enum ExitCode : int {
    kDone = 0,
    kProblemsFound = 1,
    kBadArguments = 2,  // also a refused operation
    kCopyStopped = 3,
    kFileError = 4,
};

struct MidiWorld;

struct Streams {
    std::ostream& out;
    std::ostream& err;
    // The MIDI system and time the MIDI commands run on when a test gives them; otherwise the
    // system's own ports and clock.
    MidiWorld* midi = nullptr;
};

int RunCommand(const Options& options, Streams streams);

// General usage, or the usage of one command when `command` names one.
void PrintHelp(const std::string& command, std::ostream& out);

}  // namespace korvel::cli

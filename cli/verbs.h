// The table of korvel-cli's verbs.
#pragma once

#include "commands.h"

#include <cstddef>
#include <span>
#include <string>

namespace korvel::cli {

struct Verb {
    const char* name;
    const char* synopsis;   // its arguments in the general help: "DUMP -o OUT"
    const char* summary;    // its line there
    std::size_t arguments;  // how many it takes
    const char* options;    // the options it takes, each between spaces: " --layout --json "
    const char* help;       // its own help, from "Usage:" to its example
    int (*run)(const Options&, Streams);

    bool Takes(const std::string& option) const;
};

std::span<const Verb> Verbs();
const Verb* FindVerb(const std::string& name);

}  // namespace korvel::cli

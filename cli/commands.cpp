#include "commands.h"

#include "dump_files.h"
#include "verbs.h"

#include <ostream>

namespace korvel::cli {

int RunCommand(const Options& options, Streams streams) {
    if (options.version) {
        streams.out << kProgram << " " << KORVEL_VERSION << "\n";
        return kDone;
    }
    if (options.help || options.command.empty() || options.command == "help") {
        PrintHelp(options.command == "help" && !options.arguments.empty() ? options.arguments[0]
                                                                          : options.command,
                  streams.out);
        return options.command.empty() && !options.help ? kBadArguments : kDone;
    }
    const Verb* verb = FindVerb(options.command);
    if (verb == nullptr) {
        streams.err << kProgram << ": unknown command " << options.command << "; see " << kProgram
                    << " --help\n";
        return kBadArguments;
    }
    // An option meant for another command is refused, never silently passed over.
    for (const std::string& given : options.given) {
        if (given != "--help" && given != "--version" && !verb->Takes(given)) {
            streams.err << kProgram << ": " << verb->name << " does not take " << given << "; see "
                        << kProgram << " " << verb->name << " --help\n";
            return kBadArguments;
        }
    }
    if (options.arguments.size() != verb->arguments) {
        streams.err << kProgram << ": " << verb->name << " takes "
                    << (verb->arguments == 0   ? std::string("no arguments")
                        : verb->arguments == 1 ? std::string("1 argument")
                                               : std::to_string(verb->arguments) + " arguments")
                    << "; see " << kProgram << " " << verb->name << " --help\n";
        return kBadArguments;
    }
    return verb->run(options, streams);
}

}  // namespace korvel::cli

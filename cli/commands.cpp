#include "commands.h"

#include "edits.h"
#include "outline.h"

#include "backups_command.h"
#include "diff_command.h"
#include "dump_files.h"
#include "items.h"
#include "midi_commands.h"
#include "tree_output.h"

#include <ostream>

namespace korvel::cli {

namespace {

std::optional<Item> ItemArgument(const std::string& text, const DumpImage& image, Streams streams) {
    const auto item = ParseItem(text);
    if (!item) {
        streams.err << kProgram << ": " << text
                    << " is not an item (B05, B05L, B05T02 or B05T02P03)\n";
        return std::nullopt;
    }
    if (!ItemExists(image, *item)) {
        streams.err << kProgram << ": " << text << " does not exist under the " << LayoutName(image)
                    << "\n";
        return std::nullopt;
    }
    return item;
}

bool ExpectArguments(const Options& options, std::size_t count, Streams streams) {
    if (options.arguments.size() != count) {
        streams.err << kProgram << ": " << options.command << " takes " << count
                    << " argument(s); see " << kProgram << " " << options.command << " --help\n";
        return false;
    }
    return true;
}

// The usual start of a command on one dump: the argument count, then the dump under --layout.
int LoadFirstDump(const Options& options, std::size_t argumentCount, DumpImage& image,
                  LoadReport* report, Streams streams) {
    if (!ExpectArguments(options, argumentCount, streams)) {
        return kBadArguments;
    }
    return LoadDump(options.arguments[0], options.layout, image, report, streams);
}

int Tree(const Options& options, Streams streams) {
    DumpImage image;
    LoadReport report;
    if (const int code = LoadFirstDump(options, 1, image, &report, streams)) {
        return code;
    }
    const Outline outline = MakeOutline(image);
    if (options.json) {
        PrintTreeJson(options.arguments[0], image, outline, report, streams.out);
    } else {
        PrintTreeText(outline, report, streams.out);
    }
    return kDone;
}

int Check(const Options& options, Streams streams) {
    DumpImage image;
    LoadReport report;
    if (const int code = LoadFirstDump(options, 1, image, &report, streams)) {
        return code;
    }
    return PrintProblems(image, report, streams.out) == 0 ? kDone : kProblemsFound;
}

int Copy(const Options& options, Streams streams) {
    if (!ExpectArguments(options, 4, streams)) {
        return kBadArguments;
    }
    DumpImage source;
    DumpImage destination;
    if (const int code =
            LoadDump(options.arguments[0], options.sourceLayout, source, nullptr, streams)) {
        return code;
    }
    if (const int code = LoadDump(options.arguments[2], options.destinationLayout, destination,
                                  nullptr, streams)) {
        return code;
    }
    const auto from = ItemArgument(options.arguments[1], source, streams);
    const auto to = from ? ItemArgument(options.arguments[3], destination, streams) : std::nullopt;
    if (!from || !to) {
        return kBadArguments;
    }
    const EditResult copied = TransferItem(destination, source, *from, *to);
    if (copied.status == EditStatus::refused) {
        streams.err << copied.refusal << "\n";
        return kBadArguments;
    }
    if (!copied.IsDone()) {
        streams.err << StoppedCopyText(copied) << "\n";
        if (!options.keepPartial) {
            return kCopyStopped;
        }
    }
    if (options.output) {
        if (const int code = SaveDump(destination, *options.output, streams)) {
            return code;
        }
    }
    return copied.IsDone() ? kDone : kCopyStopped;
}

int Delete(const Options& options, Streams streams) {
    if (options.output.has_value() == options.inPlace) {
        streams.err << kProgram << ": delete needs either -o OUT or --in-place\n";
        return kBadArguments;
    }
    DumpImage image;
    if (const int code = LoadFirstDump(options, 2, image, nullptr, streams)) {
        return code;
    }
    const auto item = ItemArgument(options.arguments[1], image, streams);
    if (!item) {
        return kBadArguments;
    }
    (void)DeleteItem(image, *item);
    return SaveDump(image, options.inPlace ? options.arguments[0] : *options.output, streams);
}

int Rename(const Options& options, Streams streams) {
    DumpImage image;
    if (const int code = LoadFirstDump(options, 3, image, nullptr, streams)) {
        return code;
    }
    const auto item = ItemArgument(options.arguments[1], image, streams);
    if (!item) {
        return kBadArguments;
    }
    const EditResult renamed = RenameItem(image, *item, options.arguments[2]);
    if (renamed.status == EditStatus::refused) {
        streams.err << renamed.refusal << "\n";
        return kBadArguments;
    }
    return SaveBankNames(image, options.arguments[0], streams);
}

int Canon(const Options& options, Streams streams) {
    if (!options.output) {
        streams.err << kProgram << ": canon needs -o OUT\n";
        return kBadArguments;
    }
    DumpImage image;
    if (const int code = LoadFirstDump(options, 1, image, nullptr, streams)) {
        return code;
    }
    return SaveDump(image, *options.output, streams);
}

}  // namespace

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
    struct Command {
        const char* name;
        int (*run)(const Options&, Streams);
        const char* options;  // the options it takes, between spaces
    };
    static constexpr Command kCommands[] = {
        {"tree", Tree, " --layout --json "},
        {"check", Check, " --layout "},
        {"copy", Copy, " --src-layout --dst-layout --output --keep-partial "},
        {"delete", Delete, " --layout --output --in-place "},
        {"rename", Rename, " --layout "},
        {"canon", Canon, " --layout --output "},
        {"diff", Diff, " --layout --left-layout --right-layout --json "},
        {"ports", Ports, " "},
        {"send", Send, " --port --pause --backup-first --own-port --idle --wait "},
        {"receive", Receive, " --port --own-port --idle --wait "},
        {"verify", Verify, " --port --own-port --layout --idle --wait --backup "},
        {"backups", Backups, " --folder --layout --json "}};
    for (const auto& command : kCommands) {
        if (options.command != command.name) {
            continue;
        }
        // An option meant for another command is refused, never silently passed over.
        for (const std::string& given : options.given) {
            if (given != "--help" && given != "--version" &&
                std::string(command.options).find(" " + given + " ") == std::string::npos) {
                streams.err << kProgram << ": " << command.name << " does not take " << given
                            << "; see " << kProgram << " " << command.name << " --help\n";
                return kBadArguments;
            }
        }
        return command.run(options, streams);
    }
    streams.err << kProgram << ": unknown command " << options.command << "; see " << kProgram
                << " --help\n";
    return kBadArguments;
}

}  // namespace korvel::cli

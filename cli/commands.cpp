#include "commands.h"

#include "bank_names.h"
#include "edits.h"
#include "side_file.h"
#include "sysex_message.h"

#include "dump_tree.h"
#include "messages.h"

#include "items.h"
#include "tree_output.h"

#include <ostream>

namespace korvel::cli {

namespace {

constexpr const char* kProgram = "korvel-cli";

// Loads a dump and its side file's bank names, under the given layout.
int LoadDump(const std::string& path, std::optional<MemoryLayout> layout, DumpImage& image,
             LoadReport* report, Streams streams) {
    LoadResult result = image.LoadFile(path);
    if (!result.ok()) {
        // Every message but the short read's fixed text names the file itself.
        streams.err << kProgram << ": "
                    << (result.status == LoadStatus::shortRead ? path + ": " : std::string())
                    << result.message << "\n";
        return kFileError;
    }
    ReadBankNamesBeside(image, path);
    if (layout) {
        image.SetLayout(*layout);
    }
    if (report != nullptr) {
        *report = std::move(result.report);
    }
    return kDone;
}

// Writes the bank names beside the dump at `dumpPath`.
int SaveBankNames(const DumpImage& image, const std::string& dumpPath, Streams streams) {
    const WriteResult written = WriteBankNamesBeside(image, dumpPath);
    if (!written.ok) {
        streams.err << kProgram << ": the bank names of " << dumpPath
                    << " were not written: " << written.reason << "\n";
        return kFileError;
    }
    return kDone;
}

// Writes the dump atomically, then its side file.
int SaveDump(const DumpImage& image, const std::string& path, Streams streams) {
    const DumpSaveResult saved = SaveDumpWithBankNames(image, path);
    if (!saved.dump.ok) {
        streams.err << kProgram << ": cannot write " << path << ": " << saved.dump.reason << "\n";
        return kFileError;
    }
    if (!saved.names.ok) {
        streams.err << kProgram << ": " << path
                    << " was saved, but its bank names were not: cannot write " << saved.sideFile
                    << ": " << saved.names.reason << "\n";
        return kFileError;
    }
    return kDone;
}

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
    const ui::Forest forest = ui::Rebuild(image);
    if (options.json) {
        PrintTreeJson(options.arguments[0], image, forest, report, streams.out);
    } else {
        PrintTreeText(forest, report, streams.out);
    }
    return kDone;
}

int Check(const Options& options, Streams streams) {
    DumpImage image;
    LoadReport report;
    if (const int code = LoadFirstDump(options, 1, image, &report, streams)) {
        return code;
    }
    int problems = 0;
    const auto checkSlot = [&](const MessageSlot& slot, const char* kind, int position,
                               int indexBytes) {
        if (slot.IsEmpty()) {
            return;
        }
        const int expected = ComputeChecksum(slot.begin, slot.end, indexBytes);
        const int found = slot.begin[slot.Length() - 2];
        if (expected != found) {
            ++problems;
            streams.out << kind << " " << position << " at offset "
                        << (slot.begin - image.data.get()) << ": checksum " << found
                        << ", expected " << expected << "\n";
        }
    };
    for (int i = 0; i < kPlaylistSlotCount; ++i) {
        checkSlot(image.playlists[static_cast<std::size_t>(i)], "playlist", i, kPlaylistIndexBytes);
    }
    for (int i = 0; i < kPatternSlotCount; ++i) {
        checkSlot(image.patterns[static_cast<std::size_t>(i)], "pattern", i, kPatternIndexBytes);
    }
    for (const auto& skipped : report.entries) {
        ++problems;
        streams.out << "offset " << skipped.offset << ": passed over, "
                    << SkipReasonText(skipped.reason) << "\n";
    }
    if (report.entries.size() < report.Total()) {
        problems += static_cast<int>(report.Total() - report.entries.size());
        streams.out << (report.Total() - report.entries.size()) << " more messages passed over\n";
    }
    return problems == 0 ? kDone : kProblemsFound;
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
    if (item->kind != ItemKind::bank) {
        streams.err << ui::kOnlyBanksMessage << "\n";
        return kBadArguments;
    }
    (void)RenameBank(image, item->bank, options.arguments[2]);
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
    if (options.help || options.command.empty() || options.command == "help") {
        PrintHelp(options.command == "help" && !options.arguments.empty() ? options.arguments[0]
                                                                          : options.command,
                  streams.out);
        return options.command.empty() && !options.help ? kBadArguments : kDone;
    }
    struct Command {
        const char* name;
        int (*run)(const Options&, Streams);
    };
    static constexpr Command kCommands[] = {{"tree", Tree},     {"check", Check},
                                            {"copy", Copy},     {"delete", Delete},
                                            {"rename", Rename}, {"canon", Canon}};
    for (const auto& command : kCommands) {
        if (options.command == command.name) {
            return command.run(options, streams);
        }
    }
    streams.err << kProgram << ": unknown command " << options.command << "; see " << kProgram
                << " --help\n";
    return kBadArguments;
}

}  // namespace korvel::cli

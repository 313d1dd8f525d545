#include "dump_commands.h"

#include "edits.h"
#include "outline.h"

#include "dump_files.h"
#include "items.h"
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

// The usual start of a command on one dump: the dump under --layout.
int LoadFirstDump(const Options& options, DumpImage& image, LoadReport* report, Streams streams) {
    return LoadDump(options.arguments[0], options.layout, image, report, streams);
}

}  // namespace

int Tree(const Options& options, Streams streams) {
    DumpImage image;
    LoadReport report;
    if (const int code = LoadFirstDump(options, image, &report, streams)) {
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
    if (const int code = LoadFirstDump(options, image, &report, streams)) {
        return code;
    }
    return PrintProblems(image, report, streams.out) == 0 ? kDone : kProblemsFound;
}

int Copy(const Options& options, Streams streams) {
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
    if (const int code = LoadFirstDump(options, image, nullptr, streams)) {
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
    if (const int code = LoadFirstDump(options, image, nullptr, streams)) {
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
    if (const int code = LoadFirstDump(options, image, nullptr, streams)) {
        return code;
    }
    return SaveDump(image, *options.output, streams);
}

}  // namespace korvel::cli

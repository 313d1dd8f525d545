#include "diff_command.h"

#include "comparison.h"
#include "dump_image.h"
#include "outline.h"

#include "dump_files.h"
#include "items.h"

#include <ostream>
#include <vector>

namespace korvel::cli {

namespace {

struct DiffLine {
    std::string item;
    std::string mark;
    std::string as;  // where moved material went; empty for none
};

// From the left dump's side: "only here" is only on the left.
const char* LeftMarkWord(Mark mark) {
    switch (mark) {
        case Mark::onlyHere:
            return "only left";
        case Mark::onlyThere:
            return "only right";
        default:
            return MarkWord(mark);
    }
}

void Collect(const OutlineNode& node, std::vector<DiffLine>& lines) {
    const bool slotLevel =
        node.item.kind == ItemKind::pattern || node.item.kind == ItemKind::playlists;
    if (slotLevel && node.mark != Mark::none && node.mark != Mark::same) {
        lines.push_back({ItemText(node.item), LeftMarkWord(node.mark),
                         node.movedTo ? ItemText(*node.movedTo) : std::string()});
    }
    for (const OutlineNode& child : node.children) {
        Collect(child, lines);
    }
}

void PrintJson(const std::vector<DiffLine>& lines, std::ostream& out) {
    out << "[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // Items and marks are plain ASCII words; nothing needs escaping.
        out << (i ? "," : "") << "{\"item\":\"" << lines[i].item << "\",\"mark\":\""
            << lines[i].mark << "\"";
        if (!lines[i].as.empty()) {
            out << ",\"as\":\"" << lines[i].as << "\"";
        }
        out << "}";
    }
    out << "]\n";
}

}  // namespace

int Diff(const Options& options, Streams streams) {
    DumpImage left;
    DumpImage right;
    const auto leftLayout = options.sourceLayout ? options.sourceLayout : options.layout;
    const auto rightLayout = options.destinationLayout ? options.destinationLayout : options.layout;
    if (const int code = LoadDump(options.arguments[0], leftLayout, left, nullptr, streams)) {
        return code;
    }
    if (const int code = LoadDump(options.arguments[1], rightLayout, right, nullptr, streams)) {
        return code;
    }
    const Comparison comparison = Comparison::Of(left, right);
    const ComparedSide leftSide{comparison, kLeftSide, right.Layout()};
    std::vector<DiffLine> lines;
    for (const OutlineNode& bank : MakeOutline(left, &leftSide)) {
        Collect(bank, lines);
    }
    // Playlist sets of banks the left layout does not show still count.
    for (int bank = left.BankCount(); bank < kBankCount; ++bank) {
        const Item set = Item::Playlists(bank);
        const Mark mark = comparison.ItemMark(kLeftSide, set, left.Layout());
        if (mark != Mark::none && mark != Mark::same) {
            const auto moved = comparison.MovedTo(kLeftSide, set, left.Layout(), right.Layout());
            lines.push_back({ItemText(set), LeftMarkWord(mark), moved ? ItemText(*moved) : ""});
        }
    }
    if (comparison.Type3Differs()) {
        lines.push_back({"type-3", "differs", {}});
    }
    if (options.json) {
        PrintJson(lines, streams.out);
    } else {
        for (const DiffLine& line : lines) {
            streams.out << line.item << " " << line.mark
                        << (line.as.empty() ? std::string() : " as " + line.as) << "\n";
        }
    }
    return comparison.IsSame() ? kDone : kProblemsFound;
}

}  // namespace korvel::cli

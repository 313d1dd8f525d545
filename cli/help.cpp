// korvel-cli's general usage text; each command's own comes from the table of verbs.
#include "commands.h"

#include "verbs.h"

#include <ostream>
#include <string>

namespace korvel::cli {

namespace {

constexpr const char* kGeneralHead =
    R"(korvel-cli: inspect, check and edit W2 sequencer dumps (.syx)

Usage: korvel-cli COMMAND [OPTIONS] ARGUMENTS

Commands:
)";

constexpr const char* kGeneralTail = R"(
Items are written as the tree shows them, one-based: B05 (bank 5), B05L (its playlist
set), B05T02 (its track 2), B05T02P03 (pattern 3 of that track).

Options:
  --layout 3|6|12              banks the pattern memory is grouped in (default 12)
  --src-layout, --dst-layout   the same for the source and destination of copy
  --left-layout, --right-layout
                               the same for the two dumps of diff
  -o OUT                       write the result to OUT and OUT's side file
  --help                       this text, or a command's own with COMMAND --help

Exit codes: 0 done, 1 check found problems (or nothing arrived), 2 bad arguments or a
refused operation, 3 a copy that stopped at an empty source slot, 4 a file or port that
could not be read, written or opened. A command refuses an option it does not take.

Example:
  korvel-cli copy live.syx B02T03 studio.syx B07T01 -o studio-new.syx
)";

// Summaries start in this column; a longer synopsis has its summary on the next line.
constexpr std::size_t kSummaryColumn = 31;

}  // namespace

void PrintHelp(const std::string& command, std::ostream& out) {
    if (const Verb* verb = FindVerb(command)) {
        out << verb->help;
        return;
    }
    out << kGeneralHead;
    for (const Verb& verb : Verbs()) {
        std::string line = std::string("  ") + verb.name;
        if (*verb.synopsis != '\0') {
            line += std::string(" ") + verb.synopsis;
        }
        line += line.size() < kSummaryColumn - 1 ? std::string(kSummaryColumn - line.size(), ' ')
                                                 : "\n" + std::string(kSummaryColumn, ' ');
        out << line << verb.summary << "\n";
    }
    out << kGeneralTail;
}

}  // namespace korvel::cli

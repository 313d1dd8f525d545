// Usage texts of korvel-cli, each with an example.
#include "commands.h"

#include <ostream>
#include <string>

namespace korvel::cli {

namespace {

constexpr const char* kGeneral = R"(korvel-cli: inspect, check and edit W2 sequencer dumps (.syx)

Usage: korvel-cli COMMAND [OPTIONS] ARGUMENTS

Commands:
  tree DUMP                    the dump's tree as the window shows it after Open
  check DUMP                   wrong checksums and messages that were passed over
  copy SRC ITEM DST ITEM -o OUT
                               copy a bank, playlist set, track or pattern
  delete DUMP ITEM (-o OUT | --in-place)
                               delete a bank, playlist set, track or pattern
  rename DUMP BANK TEXT        name a bank (kept in the dump's .bnl side file)
  canon DUMP -o OUT            write the dump again in canonical order

Items are written as the tree shows them, one-based: B05 (bank 5), B05L (its playlist
set), B05T02 (its track 2), B05T02P03 (pattern 3 of that track).

Options:
  --layout 3|6|12              banks the pattern memory is grouped in (default 12)
  --src-layout, --dst-layout   the same for the source and destination of copy
  -o OUT                       write the result to OUT and OUT's side file
  --help                       this text, or a command's own with COMMAND --help

Exit codes: 0 done, 1 check found problems, 2 bad arguments or a refused operation,
3 a copy that stopped at an empty source slot, 4 a file that could not be read or written.

Example:
  korvel-cli copy live.syx B02T03 studio.syx B07T01 -o studio-new.syx
)";

constexpr const char* kTree = R"(Usage: korvel-cli tree DUMP [--layout 3|6|12] [--json]

Prints one line per node, indented, with its text and fill state (empty, partial, full),
then what the load passed over. Bank names come from the dump's side file.

Example:
  korvel-cli tree live.syx --layout 6
)";

constexpr const char* kCheck = R"(Usage: korvel-cli check DUMP

Prints one line per problem: a message whose checksum byte differs from the one the rule
gives (position, found, expected), and each message that was passed over (offset, why),
duplicate positions included. Exits 0 when there is none, 1 otherwise.

Example:
  korvel-cli check live.syx
)";

constexpr const char* kCopy =
    R"(Usage: korvel-cli copy SRC ITEM DST ITEM -o OUT [--src-layout N] [--dst-layout N] [--keep-partial]

Copies the source item into the destination item, re-addressed and re-checksummed, and
writes the destination to OUT. Both items must be of the same kind, and the destination
may not have more banks than the source. A copy that meets an empty source slot stops
there; it writes nothing and exits 3, unless --keep-partial writes what was copied.
Without -o nothing is written.

Example:
  korvel-cli copy live.syx B05 studio.syx B02 --src-layout 12 --dst-layout 6 -o out.syx
)";

constexpr const char* kDelete =
    R"(Usage: korvel-cli delete DUMP ITEM (-o OUT | --in-place) [--layout N]

Deletes the item's messages; deleting a bank also clears its name.

Example:
  korvel-cli delete live.syx B03T08 --in-place
)";

constexpr const char* kRename = R"(Usage: korvel-cli rename DUMP BANK TEXT [--layout N]

Stores the bank name "NN TEXT" (or "Bank NN" for an empty TEXT) in the dump's side file;
the dump itself is not written.

Example:
  korvel-cli rename live.syx B03 Drums
)";

constexpr const char* kCanon = R"(Usage: korvel-cli canon DUMP -o OUT

Writes the dump again: the type-3 message, the playlists and the patterns in memory order,
without the messages the load passed over.

Example:
  korvel-cli canon scrambled.syx -o tidy.syx
)";

}  // namespace

void PrintHelp(const std::string& command, std::ostream& out) {
    struct CommandHelp {
        const char* command;
        const char* text;
    };
    static constexpr CommandHelp kCommands[] = {{"tree", kTree},     {"check", kCheck},
                                                {"copy", kCopy},     {"delete", kDelete},
                                                {"rename", kRename}, {"canon", kCanon}};
    for (const auto& entry : kCommands) {
        if (command == entry.command) {
            out << entry.text;
            return;
        }
    }
    out << kGeneral;
}

}  // namespace korvel::cli

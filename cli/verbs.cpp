// korvel-cli's verbs, each defined once: its name, arguments, the options it takes, its help and
// what it runs. The general help, the option check and the tests of the bash completion and the
// manual page all read this table.
#include "verbs.h"

#include "backups_command.h"
#include "diff_command.h"
#include "dump_commands.h"
#include "midi_commands.h"

#include <algorithm>

namespace korvel::cli {

namespace {

constexpr const char* kTreeHelp =
    R"(Usage: korvel-cli tree DUMP [--layout 3|6|12] [--json]

Prints one line per node, indented, with its text and fill state (empty, partial, full),
then what the load passed over. Bank names come from the dump's side file.

Example:
  korvel-cli tree live.syx --layout 6
)";

constexpr const char* kCheckHelp =
    R"(Usage: korvel-cli check DUMP

Prints one line per problem: a message whose checksum byte differs from the one the rule
gives (position, found, expected), and each message that was passed over (offset, why),
duplicate positions included. Exits 0 when there is none, 1 otherwise.

Example:
  korvel-cli check live.syx
)";

constexpr const char* kCopyHelp =
    R"(Usage: korvel-cli copy SRC ITEM DST ITEM -o OUT [--src-layout N] [--dst-layout N] [--keep-partial]

Copies the source item into the destination item, re-addressed and re-checksummed, and
writes the destination to OUT. Both items must be of the same kind, and the destination
may not have more banks than the source. A copy that meets an empty source slot stops
there; it writes nothing and exits 3, unless --keep-partial writes what was copied.
Without -o nothing is written.

Example:
  korvel-cli copy live.syx B05 studio.syx B02 --src-layout 12 --dst-layout 6 -o out.syx
)";

constexpr const char* kDeleteHelp =
    R"(Usage: korvel-cli delete DUMP ITEM (-o OUT | --in-place) [--layout N]

Deletes the item's messages; deleting a bank also clears its name.

Example:
  korvel-cli delete live.syx B03T08 --in-place
)";

constexpr const char* kRenameHelp =
    R"(Usage: korvel-cli rename DUMP BANK TEXT [--layout N]

Stores the bank name "NN TEXT" (or "Bank NN" for an empty TEXT) in the dump's side file;
the dump itself is not written.

Example:
  korvel-cli rename live.syx B03 Drums
)";

constexpr const char* kCanonHelp =
    R"(Usage: korvel-cli canon DUMP -o OUT

Writes the dump again: the type-3 message, the playlists and the patterns in memory order,
without the messages the load passed over.

Example:
  korvel-cli canon scrambled.syx -o tidy.syx
)";

constexpr const char* kDiffHelp =
    R"(Usage: korvel-cli diff LEFT RIGHT [--layout 3|6|12 | --left-layout N --right-layout N]
                       [--json]

Compares the two dumps slot by slot as the W2 stores them (the type-3 message, 96 playlists,
384 patterns); the layouts only change how items are named. Prints one line for each pattern
and playlist set that is not the same, in LEFT's tree order:
  differs      both hold it, and the bytes differ
  only left    LEFT holds it, RIGHT's slot is empty
  only right   RIGHT holds it, LEFT's slot is empty
followed by "as ITEM" (named under RIGHT's layout) when LEFT's material lies at another place
in RIGHT: it was moved there. A last line "type-3 differs" when the type-3 messages differ.
Bank names are not compared. --json prints an array of objects with "item", "mark" and "as".
Exits 0 when the dumps are the same, 1 when they differ.

Example:
  korvel-cli diff backup.syx received.syx --left-layout 6
)";

constexpr const char* kPortsHelp =
    R"(Usage: korvel-cli ports

Lists the MIDI input ports (for receive) and output ports (for send), numbered, with the
MIDI system in use. On JACK a port's name is "client:port".

Example:
  korvel-cli ports
)";

constexpr const char* kSendHelp =
    R"(Usage: korvel-cli send DUMP --port PORT [--pause MS]
                       [--backup-first FILE [--idle MS] [--wait S]]

--backup-first FILE first receives what the W2 holds into FILE, as receive does (start the
dump on the W2), and sends only when what arrived holds a message of a W2 dump; otherwise it
exits 1 with "Nothing arrived from PORT; nothing was sent" or says that what arrived is no
dump. FILE must be a new file: one that is there already is refused. PORT then names the
input port too.
Sends the dump's messages to the output port in the order a save writes them (type-3,
playlists, patterns), each in one piece. A message starts no earlier than the previous
one takes on a MIDI cable (320 microseconds a byte) plus a pause, 60 ms unless --pause
gives another (0 to 5000). PORT is a number from "korvel-cli ports" or a part of a name
that only one port has. Progress goes to stderr when it is a terminal; Ctrl-C stops the
send between two messages.

Example:
  korvel-cli send live.syx --port W2 --pause 100
  korvel-cli send live.syx --port W2 --backup-first before-live.syx --wait 120
)";

constexpr const char* kReceiveHelp =
    R"(Usage: korvel-cli receive OUT --port PORT [--idle MS] [--wait S]
       korvel-cli receive OUT --own-port NAME [--idle MS] [--wait S]

Waits for the W2 to send a dump, then writes every byte that came (real-time bytes
aside) in the order received to OUT and prints the same report as check. The receive ends after a pause of
--idle milliseconds with no byte (2000 unless given) once bytes flow, or on Ctrl-C.
Without --wait it waits for the first byte for ever; with it, S seconds, then exits 1
with "Nothing arrived from PORT". --own-port opens a port of korvel-cli's own that other
programs connect to (JACK, ALSA and CoreMIDI).

Example:
  korvel-cli receive backup.syx --port W2 --wait 120
)";

constexpr const char* kVerifyHelp =
    R"(Usage: korvel-cli verify DUMP --port PORT [--layout 3|6|12] [--idle MS] [--wait S]
                         [--own-port NAME] [--backup FILE]

Receives what the W2 sends as receive does (start the dump on the W2), then checks it against
DUMP message by message at each slot DUMP holds. Prints one line for each slot that did not
come back: the item (named under --layout, 12 banks unless given) and "differs" (it came back
with other bytes) or "missing" (it did not come back); "type-3" stands for the type-3
message. Then a summary. Slots the W2 holds that DUMP does not are counted, not failed.
--backup FILE also writes every byte that arrived to FILE.
Exits 0 when every message came back as sent, 1 when some did not or nothing arrived.

Example:
  korvel-cli verify gig.syx --port W2 --wait 120
)";

constexpr const char* kBackupsHelp =
    R"(Usage: korvel-cli backups [--folder DIR] [--layout 3|6|12] [--json]

Lists the dumps of DIR (the window's folder of what came from the W2 unless given), newest
first: when each was made, its messages, and what changed since the one before it, compared
slot by slot ("3 slots differ, 1 only here, 2 gone", "same as before"; playlists of banks
--layout does not show are counted apart). --json prints an array of objects with "file",
"when", "messages" and "change".

Example:
  korvel-cli backups --layout 6
)";

constexpr Verb kVerbs[] = {
    {"tree", "DUMP", "the dump's tree as the window shows it after Open", 1, " --layout --json ",
     kTreeHelp, Tree},
    {"check", "DUMP", "wrong checksums and messages that were passed over", 1, " ", kCheckHelp,
     Check},
    {"copy", "SRC ITEM DST ITEM -o OUT", "copy a bank, playlist set, track or pattern", 4,
     " --src-layout --dst-layout --output --keep-partial ", kCopyHelp, Copy},
    {"delete", "DUMP ITEM (-o OUT | --in-place)", "delete a bank, playlist set, track or pattern",
     2, " --layout --output --in-place ", kDeleteHelp, Delete},
    {"rename", "DUMP BANK TEXT", "name a bank (kept in the dump's .bnl side file)", 3, " --layout ",
     kRenameHelp, Rename},
    {"canon", "DUMP -o OUT", "write the dump again in canonical order", 1, " --output ", kCanonHelp,
     Canon},
    {"diff", "LEFT RIGHT", "what differs between two dumps, slot by slot", 2,
     " --layout --left-layout --right-layout --json ", kDiffHelp, Diff},
    {"ports", "", "the MIDI input and output ports", 0, " ", kPortsHelp, Ports},
    {"send", "DUMP --port PORT", "send the dump to the W2", 1,
     " --port --pause --backup-first --idle --wait ", kSendHelp, Send},
    {"receive", "OUT --port PORT", "receive a dump from the W2 into OUT", 1,
     " --port --own-port --idle --wait ", kReceiveHelp, Receive},
    {"verify", "DUMP --port PORT", "check that the W2 holds DUMP as it was sent", 1,
     " --port --own-port --layout --idle --wait --backup ", kVerifyHelp, Verify},
    {"backups", "", "the backups of the W2's memory, newest first", 0, " --folder --layout --json ",
     kBackupsHelp, Backups},
};

}  // namespace

std::span<const Verb> Verbs() {
    return kVerbs;
}

const Verb* FindVerb(const std::string& name) {
    const auto it = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                                 [&name](const Verb& verb) { return name == verb.name; });
    return it == std::end(kVerbs) ? nullptr : &*it;
}

bool Verb::Takes(const std::string& option) const {
    return std::string(options).find(" " + option + " ") != std::string::npos;
}

}  // namespace korvel::cli

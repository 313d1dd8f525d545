// The backups of the W2's memory: every dump that came from it, kept in a folder of their own.
// Listed newest first, each with what changed since the backup before it.
#pragma once

#include "comparison.h"
#include "memory_layout.h"
#include "result.h"

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

namespace korvel {

struct Backup {
    std::string path;
    // When it was made, as "2026-12-08 21:05:33": from a name Korvel gave it ("W2 2026-12-08
    // 21-05-33.syx", "W2 2026-12-08 21-05-33 (2).syx"), otherwise from the file's time.
    std::string when;
    int messages = 0;      // the messages a load holds
    bool readable = true;  // false when the file could not be read or holds no W2 message
    // What changed since the readable backup before it ("3 slots differ, 1 only here", "same
    // as before"); "the oldest here" for the last of the folder; "not a readable dump".
    std::string change;
};

struct BackupList {
    std::vector<Backup> backups;
    bool folderMissing = false;  // there is no such folder: nothing has come yet
    // Why the folder could not be read to its end; what was found before is listed.
    std::string problem;
};

inline constexpr const char* kUnreadableBackupText = "not a readable dump";

// Where Korvel keeps what came from the W2, in the system's data folder for programs: on Linux
// "$XDG_DATA_HOME/Korvel/received" (by default under ~/.local/share), on Windows "Korvel",
// "received" under %APPDATA%, on macOS under ~/Library/Application Support; "" when the
// environment names no home.
std::string DefaultBackupFolder();

// "2026-12-08 21-05-33": `time` in local time, as a backup's name carries it; "" when the
// system cannot say.
std::string BackupStamp(std::time_t time);

// A new backup's path in `folder`: "W2 2026-12-08 21-05-33.syx", or with " (2)" and so on when
// a backup of the same second is there already, so that none is ever replaced. The reason when
// the folder cannot tell which names are free.
Result<std::string> NewBackupPath(const std::string& folder, const std::string& stamp);

// "same as before", or the counts of what differs between a backup (`newer`, the left side of
// the comparison) and the one before it, under `layout`.
std::string ChangeSince(const Comparison& newerAgainstOlder, MemoryLayout layout);

// The ".syx" files of `folder`, newest first, at most `limit` of them; an absent folder has none.
// A file that is no readable dump is listed as such, and the one before it is compared with
// the readable backup before that.
BackupList ListBackups(const std::string& folder, MemoryLayout layout, std::size_t limit);

}  // namespace korvel

// Where a dump's bank-name side file lives, and saving a dump together with it.
#pragma once

#include "result.h"

#include <string>

namespace korvel {

class DumpImage;

// The dump's path with the extension of its file name replaced by ".bnl", or ".bnl" appended
// when the file name has no extension. A "." in a folder name never counts.
std::string SideFilePath(const std::string& dumpPath);

// True when the dump's own name ends in ".bnl" (in any case): its side file would be itself.
bool SideFileIsDumpItself(const std::string& dumpPath);

// The side file of the file the dump's path names, its symbolic links followed, so that the
// names stay beside the dump a link leads to.
std::string SideFileOf(const std::string& dumpPath);

// Reads the bank names beside the dump; a dump that would be its own side file reads none, and
// so does a dump without a side file. The reason when a side file is there but cannot be read:
// the image then has no names.
Outcome ReadBankNamesBeside(DumpImage& image, const std::string& dumpPath);

// Writes the bank names beside the dump, refusing a dump that would be its own side file and a
// side file that is there but cannot be read (its names would be lost).
Outcome WriteBankNamesBeside(const DumpImage& image, const std::string& dumpPath);

struct [[nodiscard]] DumpSaveResult {
    Outcome dump;   // when it failed, nothing was written
    Outcome names;  // only tried once the dump was saved
    std::string sideFile;
    // The names' failure was a side file that could not be read, which was left as it is.
    bool sideFileUnread = false;
};

// Saves the dump atomically, then its bank names beside it. A dump that would be its own side
// file is refused before anything is written.
DumpSaveResult SaveDumpWithBankNames(const DumpImage& image, const std::string& dumpPath);

}  // namespace korvel

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

// Reads the bank names beside the dump; a dump that would be its own side file reads none.
void ReadBankNamesBeside(DumpImage& image, const std::string& dumpPath);

// Writes the bank names beside the dump, refusing a dump that would be its own side file.
Outcome WriteBankNamesBeside(const DumpImage& image, const std::string& dumpPath);

struct [[nodiscard]] DumpSaveResult {
    Outcome dump;   // when it failed, nothing was written
    Outcome names;  // only tried once the dump was saved
    std::string sideFile;
};

// Saves the dump atomically, then its bank names beside it. A dump that would be its own side
// file is refused before anything is written.
DumpSaveResult SaveDumpWithBankNames(const DumpImage& image, const std::string& dumpPath);

}  // namespace korvel

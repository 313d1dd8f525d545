// Reading and writing dumps for korvel-cli's commands, with the messages it prints.
#pragma once

#include "dump_image.h"
#include "memory_layout.h"

#include "commands.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace korvel::cli {

inline constexpr const char* kProgram = "korvel-cli";

// Loads a dump and its side file's bank names, under the given layout.
int LoadDump(const std::string& path, std::optional<MemoryLayout> layout, DumpImage& image,
             LoadReport* report, Streams streams);
// Writes the bank names beside the dump at `dumpPath`.
int SaveBankNames(const DumpImage& image, const std::string& dumpPath, Streams streams);
// Writes the dump atomically, then its side file.
int SaveDump(const DumpImage& image, const std::string& path, Streams streams);

// Prints one line per wrong checksum and per message passed over; returns how many.
int PrintProblems(const DumpImage& image, const LoadReport& report, std::ostream& out);

}  // namespace korvel::cli

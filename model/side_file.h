// Where a dump's bank-name side file lives.
#pragma once

#include <string>

namespace korvel {

// The dump's path with the extension of its file name replaced by ".bnl", or ".bnl" appended
// when the file name has no extension. A "." in a folder name never counts.
std::string SideFilePath(const std::string& dumpPath);

}  // namespace korvel

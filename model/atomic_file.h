// Replacing a file so that a failure at any point leaves the old file whole.
#pragma once

#include "result.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>

namespace korvel {

using FileContentWriter = std::function<Outcome(std::FILE*)>;

// Writes the new content through `writeContent` into a temporary file in the target's folder,
// checks the flush, the sync and the close, and only then renames it over `path` and syncs the
// folder. The temporary file never has wider permissions than the target, and its name's length
// does not depend on the target's. A target that exists but is not a regular file (a device, a
// FIFO, a folder) is refused before anything is written. On any failure the temporary file is
// removed, the target is untouched and the result says why. A target that does not exist yet
// takes the permission bits of `permissionsFrom` when that names a file. Through a symbolic link
// (or a chain of them) the file the link names is replaced, in its own folder, and the link
// stays; a link to nothing is refused.
Outcome ReplaceFileAtomically(const std::string& path, const FileContentWriter& writeContent,
                              const std::string& permissionsFrom = {});

// The same for content already in memory.
Outcome ReplaceFileWithBytes(const std::string& path, std::span<const std::uint8_t> bytes);

// Removes the temporary file of a replacement under way, if any. Safe to call from a signal
// handler, so that an interrupted save leaves nothing behind.
void RemoveInterruptedTemporaryFile();

}  // namespace korvel

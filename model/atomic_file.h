// Replacing a file so that a failure at any point leaves the old file whole.
#pragma once

#include "result.h"

#include <cstdio>
#include <functional>
#include <string>

namespace korvel {

using FileContentWriter = std::function<WriteResult(std::FILE*)>;

// Writes the new content through `writeContent` into a temporary file in the target's folder,
// checks the flush and the close, and only then renames it over `path`. On any failure the
// temporary file is removed, the target is untouched and the result says why.
WriteResult ReplaceFileAtomically(const std::string& path, const FileContentWriter& writeContent);

}  // namespace korvel

// The parts of a path, by the system's own separator rule ('/' everywhere, '\' too on Windows),
// so that the window, the side file and the atomic save split a path the same way.
#pragma once

#include "result.h"

#include <filesystem>
#include <string>

namespace korvel {

// The file's name without its folder.
std::string FileNameOf(const std::string& path);
// The folder without a separator at its end; "" for a bare file name.
std::string FolderOf(const std::string& path);
// The folder with its separator, ready for a file name to be appended; "" for a bare name.
std::string FolderPrefixOf(const std::string& path);
// True when the path ends in a separator: it names a folder.
bool EndsInSeparator(const std::string& path);
// The file name's extension from its last '.', dot included ("" when it has none). A name that
// is all extension (".bnl") has that extension: a '.' in a folder's name never counts.
std::string ExtensionOf(const std::string& path);
// The path made absolute against the working folder (UTF-8 in, UTF-8 out); unchanged when it
// is empty or the system cannot say.
std::string AbsolutePathOf(const std::string& path);
// The system's path for a UTF-8 path, and back: on Windows a std::string path would be read in
// the local code page, so every name Korvel hands to the file system goes through these. A name
// that is not UTF-8 has no system path; neither conversion throws.
Result<std::filesystem::path> NativePathOf(const std::string& path);
// The name as UTF-8; "" when the system's name is no valid text (a lone UTF-16 surrogate).
std::string Utf8Of(const std::filesystem::path& path);
// Whether something (a file, a folder, a link even to nothing) has that name; the reason when
// the system cannot say.
Result<bool> PathIsTaken(const std::string& path);
// `stem` + `extension` when no file has that name yet, otherwise the first of `stem` + " (2)" +
// `extension`, " (3)" and so on that is free: for files that must never replace another. The
// reason when the system cannot say whether a name is free (a folder that may not be read).
Result<std::string> UnusedPath(const std::string& stem, const std::string& extension);
// The file a path names once its symbolic links (a chain of them too) are followed: the path
// itself when it is no link. The reason for a link to nothing, one that cannot be read or a
// loop of links.
Result<std::string> FileBehindLinks(const std::string& path);
// The path with its extension replaced by `extension`, or `extension` appended when it has none.
std::string WithExtension(const std::string& path, const std::string& extension);
// True when the path's extension is `extension` ("x.SYX" has ".syx"), whatever its case.
bool HasExtension(const std::string& path, const std::string& extension);
// Makes the folder and the folders above it that are missing; the reason when it cannot.
Outcome MakeFolder(const std::string& folder);
// `name` in `folder`, with one separator between them; `name` alone when `folder` is "".
std::string PathIn(const std::string& folder, const std::string& name);

}  // namespace korvel

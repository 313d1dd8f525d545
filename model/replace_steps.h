// The steps of an atomic replacement that differ from system to system. atomic_file.cpp runs
// them in order; each system's file (replace_steps_posix.cpp, replace_steps_windows.cpp) says
// how.
#pragma once

#include "result.h"

#include <cstdio>
#include <optional>
#include <string>

namespace korvel::replace {

struct Target {
    bool exists = false;
    unsigned mode = 0666;    // permission bits for the new file, where the system has them
    bool exactMode = false;  // the mode is set as it is, past the umask
};

// The new content on its way. Where the system offers it the file has no name while it is
// written (`unnamed` holds a second descriptor to name it by), so that a save killed half way
// leaves nothing behind; otherwise it has a hidden temporary name.
struct Temporary {
    std::FILE* file = nullptr;
    std::string path;  // the temporary name, once there is one
    int unnamed = -1;
};

// Refuses a target that is not a regular file; learns whether it exists and its permissions,
// or, for a new file, those of `permissionsFrom`.
std::optional<Outcome> CheckTarget(const std::string& path, const std::string& permissionsFrom,
                                   Target& target);

// Creates the temporary in the target's folder. False with the reason when it cannot.
bool OpenTemporary(const std::string& path, const Target& target, Temporary& temporary,
                   std::string& reason);

// Makes the written bytes reach the disk before the new file takes the target's name.
bool SyncFile(std::FILE* file, std::string& reason);

// After the file is closed: puts the temporary in the target's place in one step.
bool PutInPlace(Temporary& temporary, const std::string& path, const Target& target,
                std::string& reason);

// Removes whatever is left of a temporary that did not take the target's place, and forgets it.
void Discard(Temporary& temporary);

// Makes the new name last across a crash, where the system needs that.
void SyncFolder(const std::string& path);

// Words for a system error number.
std::string ReasonOf(int error);

// Remembers the temporary's name where a signal handler can remove it without allocating.
void SetPending(const std::string& temporaryPath);
void ClearPending();

// A fixed-length hidden name beside `path`, so that a target whose name is as long as the file
// system allows can still be saved.
std::string TemporaryName(const std::string& path);

}  // namespace korvel::replace

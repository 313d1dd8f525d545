// The replacement's steps on POSIX systems: the temporary is created with the target's
// permissions, unnamed where Linux offers O_TMPFILE, and renamed over the target.
#include "paths.h"
#include "replace_steps.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel::replace {

namespace {

// Linux names an unnamed file through its descriptor's entry under /proc.
std::string ProcPathOf(int descriptor) {
    return "/proc/self/fd/" + std::to_string(descriptor);
}

// The descriptor opened for writing, or -1 with `error` set.
int OpenNamed(const std::string& path, const Target& target, Temporary& temporary, int& error) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary.path = TemporaryName(path);
        const int descriptor =
            ::open(temporary.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, target.mode);
        if (descriptor >= 0) {
            SetPending(temporary.path);
            return descriptor;
        }
        error = errno;
        if (error != EEXIST) {
            break;
        }
    }
    temporary.path.clear();
    return -1;
}

#if defined(O_TMPFILE)
// An unnamed file in the target's folder, or -1 where the system or the file system does not
// offer one (then a named temporary is used).
int OpenUnnamed(const std::string& path, const Target& target, Temporary& temporary) {
    if (::access("/proc/self/fd", X_OK) != 0) {
        return -1;
    }
    const std::string folder = FolderPrefixOf(path);
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(),
                                  O_TMPFILE | O_WRONLY | O_CLOEXEC, target.mode);
    if (descriptor < 0) {
        return -1;
    }
    temporary.unnamed = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (temporary.unnamed < 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

// Gives the complete unnamed file a temporary name, from which it is renamed over the target.
bool NameUnnamed(Temporary& temporary, const std::string& path, std::string& reason) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = TemporaryName(path);
        if (::linkat(AT_FDCWD, ProcPathOf(temporary.unnamed).c_str(), AT_FDCWD, name.c_str(),
                     AT_SYMLINK_FOLLOW) == 0) {
            temporary.path = name;
            SetPending(name);
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    reason = ReasonOf(errno);
    return false;
}
#endif

void CloseUnnamed(Temporary& temporary) {
    if (temporary.unnamed >= 0) {
        ::close(temporary.unnamed);
        temporary.unnamed = -1;
    }
}

}  // namespace

std::optional<Outcome> CheckTarget(const std::string& path, const std::string& permissionsFrom,
                                   Target& target) {
    if (EndsInSeparator(path)) {
        return Outcome::Failure(path + " names a folder; give the name of a file");
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        // A new file; the folder is checked by creating the temporary.
        if (!permissionsFrom.empty() && ::stat(permissionsFrom.c_str(), &info) == 0 &&
            S_ISREG(info.st_mode)) {
            target.mode = info.st_mode & 0777;
            target.exactMode = true;
        }
        return std::nullopt;
    }
    if (S_ISDIR(info.st_mode)) {
        return Outcome::Failure(path + " is a folder, not a file");
    }
    if (!S_ISREG(info.st_mode)) {
        return Outcome::Failure(path + " is not a regular file; it was not replaced");
    }
    target.exists = true;
    target.mode = info.st_mode & 07777;
    target.exactMode = true;
    return std::nullopt;
}

bool OpenTemporary(const std::string& path, const Target& target, Temporary& temporary,
                   std::string& reason) {
    int descriptor = -1;
#if defined(O_TMPFILE)
    descriptor = OpenUnnamed(path, target, temporary);
#endif
    int error = 0;
    if (descriptor < 0) {
        descriptor = OpenNamed(path, target, temporary, error);
    }
    if (descriptor < 0) {
        reason = ReasonOf(error);
        return false;
    }
    // Created with the target's permissions, so its content is never readable by more people
    // than the target's; the umask may have narrowed them, and the replacement keeps exactly
    // the target's.
    if ((target.exactMode && ::fchmod(descriptor, target.mode) != 0) ||
        (temporary.file = ::fdopen(descriptor, "wb")) == nullptr) {
        reason = ReasonOf(errno);
        ::close(descriptor);
        Discard(temporary);
        return false;
    }
    return true;
}

// A rename that reaches the disk before the data would leave an empty file after a crash.
bool SyncFile(std::FILE* file, std::string& reason) {
    if (::fsync(::fileno(file)) != 0) {
        reason = ReasonOf(errno);
        return false;
    }
    return true;
}

bool PutInPlace(Temporary& temporary, const std::string& path, const Target&, std::string& reason) {
#if defined(O_TMPFILE)
    if (temporary.unnamed >= 0) {
        const bool named = NameUnnamed(temporary, path, reason);
        CloseUnnamed(temporary);
        if (!named) {
            return false;
        }
    }
#endif
    if (::rename(temporary.path.c_str(), path.c_str()) != 0) {
        reason = ReasonOf(errno);
        return false;
    }
    return true;
}

void Discard(Temporary& temporary) {
    CloseUnnamed(temporary);
    if (!temporary.path.empty()) {
        ::unlink(temporary.path.c_str());
        temporary.path.clear();
    }
    ClearPending();
}

// The rename itself lives in the folder; syncing it makes the new name last.
void SyncFolder(const std::string& path) {
    const std::string folder = FolderPrefixOf(path);
    const int descriptor =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        (void)::fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace korvel::replace

#include "atomic_file.h"

#include "paths.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvel {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

// The temporary file of the replacement under way, kept where a signal handler can reach it
// without allocating.
char pendingPath[4096];
volatile std::sig_atomic_t pending = 0;

void SetPending(const std::string& temporaryPath) {
    if (temporaryPath.size() < sizeof pendingPath) {
        std::memcpy(pendingPath, temporaryPath.c_str(), temporaryPath.size() + 1);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        pending = 1;
    }
}

void ClearPending() {
    pending = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

// A name of fixed length, so that a target whose name is as long as the file system allows can
// still be saved.
std::string TemporaryName(const std::string& path) {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string name = FolderPrefixOf(path) + ".korvel-";
    std::uint64_t bits = generator();
    for (int i = 0; i < 12; ++i, bits >>= 4) {
        name += kDigits[bits & 0xF];
    }
    return name + ".tmp";
}

#if defined(_WIN32)

struct Target {
    bool exists = false;
};

// Windows files carry no permission bits to take over.
std::optional<WriteResult> CheckTarget(const std::string& path, const std::string&,
                                       Target& target) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    target.exists = !error && std::filesystem::exists(status);
    if (target.exists && std::filesystem::is_directory(status)) {
        return WriteResult::Failure(path + " is a folder, not a file");
    }
    if (target.exists && !std::filesystem::is_regular_file(status)) {
        return WriteResult::Failure(path + " is not a regular file; it was not replaced");
    }
    return std::nullopt;
}

std::FILE* OpenTemporary(const std::string& path, const Target&, std::string& temporaryPath,
                         int& error) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporaryPath = TemporaryName(path);
        if (std::FILE* file = std::fopen(temporaryPath.c_str(), "wbx")) {
            SetPending(temporaryPath);
            return file;
        }
        error = errno;
        if (error != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

bool SyncFile(std::FILE*, int&) {
    return true;
}

bool RenameOver(const std::string& from, const std::string& to, std::string& reason) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    reason = error.message();
    return !error;
}

void SyncFolder(const std::string&) {}

#else

struct Target {
    bool exists = false;
    mode_t mode = 0666;
    bool exactMode = false;  // the mode is set as it is, past the umask
};

std::optional<WriteResult> CheckTarget(const std::string& path, const std::string& modelFile,
                                       Target& target) {
    if (EndsInSeparator(path)) {
        return WriteResult::Failure(path + " names a folder; give the name of a file");
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        // A new file; the folder is checked by creating the temporary. It takes the model
        // file's permissions where there is one.
        if (!modelFile.empty() && ::stat(modelFile.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            target.mode = info.st_mode & 0777;
            target.exactMode = true;
        }
        return std::nullopt;
    }
    if (S_ISDIR(info.st_mode)) {
        return WriteResult::Failure(path + " is a folder, not a file");
    }
    if (!S_ISREG(info.st_mode)) {
        return WriteResult::Failure(path + " is not a regular file; it was not replaced");
    }
    target.exists = true;
    target.mode = info.st_mode & 07777;
    target.exactMode = true;
    return std::nullopt;
}

std::FILE* OpenTemporary(const std::string& path, const Target& target, std::string& temporaryPath,
                         int& error) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporaryPath = TemporaryName(path);
        // Created with the target's permissions, so its content is never readable by more
        // people than the target's.
        const int descriptor =
            ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, target.mode);
        if (descriptor < 0) {
            error = errno;
            if (error == EEXIST) {
                continue;
            }
            return nullptr;
        }
        SetPending(temporaryPath);
        // The umask may have narrowed the mode; the replacement keeps exactly the target's.
        if (target.exactMode && ::fchmod(descriptor, target.mode) != 0) {
            error = errno;
            ::close(descriptor);
            ::unlink(temporaryPath.c_str());
            ClearPending();
            return nullptr;
        }
        std::FILE* file = ::fdopen(descriptor, "wb");
        if (file == nullptr) {
            error = errno;
            ::close(descriptor);
            ::unlink(temporaryPath.c_str());
            ClearPending();
        }
        return file;
    }
    return nullptr;
}

// A rename that reaches the disk before the data would leave an empty file after a crash.
bool SyncFile(std::FILE* file, int& error) {
    if (::fsync(::fileno(file)) != 0) {
        error = errno;
        return false;
    }
    return true;
}

bool RenameOver(const std::string& from, const std::string& to, std::string& reason) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        reason = Reason(errno);
        return false;
    }
    return true;
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

#endif

}  // namespace

WriteResult ReplaceFileAtomically(const std::string& path, const FileContentWriter& writeContent,
                                  const std::string& permissionsFrom) {
    Target target;
    if (auto refusal = CheckTarget(path, permissionsFrom, target)) {
        return *refusal;
    }
    std::string temporaryPath;
    int error = 0;
    std::FILE* file = OpenTemporary(path, target, temporaryPath, error);
    if (file == nullptr) {
        return WriteResult::Failure(Reason(error));
    }
    WriteResult written = writeContent(file);
    if (written.ok && std::fflush(file) != 0) {
        written = WriteResult::Failure(Reason(errno));
    }
    if (written.ok && !SyncFile(file, error)) {
        written = WriteResult::Failure(Reason(error));
    }
    if (std::fclose(file) != 0 && written.ok) {
        written = WriteResult::Failure(Reason(errno));
    }
    if (written.ok) {
        std::string reason;
        if (RenameOver(temporaryPath, path, reason)) {
            ClearPending();
            SyncFolder(path);
            return written;
        }
        written = WriteResult::Failure(reason);
    }
    std::error_code ignored;
    std::filesystem::remove(temporaryPath, ignored);
    ClearPending();
    return written;
}

WriteResult ReplaceFileWithBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    return ReplaceFileAtomically(path, [bytes](std::FILE* file) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            return WriteResult::Failure(Reason(errno));
        }
        return WriteResult::Success();
    });
}

void RemoveInterruptedTemporaryFile() {
    if (pending != 0) {
#if defined(_WIN32)
        (void)::_unlink(pendingPath);
#else
        (void)::unlink(pendingPath);
#endif
        pending = 0;
    }
}

}  // namespace korvel

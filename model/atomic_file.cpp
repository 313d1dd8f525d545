#include "atomic_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace korvel {

namespace fs = std::filesystem;

namespace {

std::string SystemReason() {
    return std::strerror(errno);
}

// Opens a fresh temporary file beside `path`; "x" makes the open fail rather than reuse a name.
std::FILE* OpenTemporary(const std::string& path, std::string& temporaryPath) {
    std::random_device seed;
    std::mt19937 generator(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporaryPath = path + ".tmp" + std::to_string(generator() % 1000000);
        if (std::FILE* file = std::fopen(temporaryPath.c_str(), "wbx")) {
            return file;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#if defined(__unix__) || defined(__APPLE__)
    // A rename that reaches the disk before the data would leave an empty file after a crash.
    if (::fsync(::fileno(file)) != 0) {
        return false;
    }
#endif
    return true;
}

}  // namespace

WriteResult ReplaceFileAtomically(const std::string& path, const FileContentWriter& writeContent) {
    std::string temporaryPath;
    std::FILE* file = OpenTemporary(path, temporaryPath);
    if (file == nullptr) {
        return WriteResult::Failure(SystemReason());
    }
    WriteResult written = writeContent(file);
    if (written.ok && !FlushToDisk(file)) {
        written = WriteResult::Failure(SystemReason());
    }
    if (std::fclose(file) != 0 && written.ok) {
        written = WriteResult::Failure(SystemReason());
    }
    std::error_code error;
    if (written.ok) {
        // The replacement keeps the permissions of the file it replaces.
        const auto status = fs::status(path, error);
        if (!error && fs::exists(status)) {
            fs::permissions(temporaryPath, status.permissions(), error);
        }
        error.clear();
        fs::rename(temporaryPath, path, error);
        if (error) {
            written = WriteResult::Failure(error.message());
        }
    }
    if (!written.ok) {
        fs::remove(temporaryPath, error);
    }
    return written;
}

}  // namespace korvel

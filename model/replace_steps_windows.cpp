// The replacement's steps on Windows: every name goes to the wide file functions, and an
// existing target is replaced with ReplaceFileW, which keeps its attributes and security.
#include "paths.h"
#include "error_text.h"
#include "replace_steps.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace korvel::replace {

namespace {

std::string ReasonOfCode(DWORD error) {
    return ErrorText(std::error_code(static_cast<int>(error), std::system_category()));
}

std::string LastErrorReason() {
    return ReasonOfCode(::GetLastError());
}

// CheckTarget has refused a name without a wide form, so the later steps always have one; an
// empty name would only fail to open.
std::wstring Wide(const std::string& path) {
    const auto native = NativePathOf(path);
    return native ? native->native() : std::wstring();
}

}  // namespace

// Windows files carry no permission bits to take over.
std::optional<Outcome> CheckTarget(const std::string& path, const std::string&, Target& target) {
    if (EndsInSeparator(path)) {
        return Outcome::Failure(path + " names a folder; give the name of a file");
    }
    const auto native = NativePathOf(path);
    if (!native) {
        return Outcome::Failure(path + " cannot be written: " + native.reason());
    }
    std::error_code error;
    const auto status = std::filesystem::status(*native, error);
    target.exists = !error && std::filesystem::exists(status);
    if (target.exists && std::filesystem::is_directory(status)) {
        return Outcome::Failure(path + " is a folder, not a file");
    }
    if (target.exists && !std::filesystem::is_regular_file(status)) {
        return Outcome::Failure(path + " is not a regular file; it was not replaced");
    }
    return std::nullopt;
}

// Opened sharing delete, so that a console handler can remove the temporary while it is still
// open (it goes when the process ends) and an interrupted save leaves nothing behind.
bool OpenTemporary(const std::string& path, const Target&, Temporary& temporary,
                   std::string& reason) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary.path = TemporaryName(path);
        const HANDLE handle = ::CreateFileW(Wide(temporary.path).c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            reason = ReasonOfCode(error);
            if (error == ERROR_FILE_EXISTS) {
                continue;
            }
            break;
        }
        SetPending(temporary.path);
        const int descriptor =
            ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
        if (descriptor < 0) {
            ::CloseHandle(handle);
        } else if ((temporary.file = ::_fdopen(descriptor, "wb")) == nullptr) {
            ::_close(descriptor);
        }
        if (temporary.file != nullptr) {
            return true;
        }
        reason = ReasonOf(errno);
        Discard(temporary);
        return false;
    }
    temporary.path.clear();
    return false;
}

bool SyncFile(std::FILE* file, std::string& reason) {
    if (::_commit(::_fileno(file)) != 0) {
        reason = ReasonOf(errno);
        return false;
    }
    return true;
}

bool PutInPlace(Temporary& temporary, const std::string& path, const Target& target,
                std::string& reason) {
    const std::wstring from = Wide(temporary.path);
    const std::wstring to = Wide(path);
    const bool replaced =
        target.exists ? ::ReplaceFileW(to.c_str(), from.c_str(), nullptr,
                                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                      : ::MoveFileExW(from.c_str(), to.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!replaced) {
        reason = LastErrorReason();
    }
    return replaced;
}

void Discard(Temporary& temporary) {
    if (!temporary.path.empty()) {
        std::error_code ignored;
        std::filesystem::remove(Wide(temporary.path), ignored);
        temporary.path.clear();
    }
    ClearPending();
}

// MOVEFILE_WRITE_THROUGH and ReplaceFileW make the new name last on their own.
void SyncFolder(const std::string&) {}

}  // namespace korvel::replace

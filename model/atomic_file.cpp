#include "atomic_file.h"

#include "error_text.h"
#include "paths.h"
#include "replace_steps.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace korvel {

namespace replace {

namespace {

// The temporary file of the replacement under way, in the system's own characters, kept where
// a signal handler can reach it without allocating.
std::filesystem::path::value_type pendingPath[4096];
volatile std::sig_atomic_t pending = 0;

}  // namespace

std::string ReasonOf(int error) {
    return ErrnoText(error);
}

void SetPending(const std::string& temporaryPath) {
    const auto converted = NativePathOf(temporaryPath);
    if (!converted) {
        return;
    }
    const auto& native = converted->native();
    if (native.size() < std::size(pendingPath)) {
        std::copy(native.begin(), native.end(), pendingPath);
        pendingPath[native.size()] = 0;
        std::atomic_signal_fence(std::memory_order_seq_cst);
        pending = 1;
    }
}

void ClearPending() {
    pending = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

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

}  // namespace replace

Outcome ReplaceFileAtomically(const std::string& linkOrPath, const FileContentWriter& writeContent,
                              const std::string& permissionsFrom) {
    // The link stays a link, and the file it names gets the new content.
    const auto behindLinks = FileBehindLinks(linkOrPath);
    if (!behindLinks) {
        return Outcome::Failure(behindLinks.reason() + "; it was not replaced");
    }
    const std::string& path = *behindLinks;
    replace::Target target;
    if (auto refusal = replace::CheckTarget(path, permissionsFrom, target)) {
        return *refusal;
    }
    replace::Temporary temporary;
    std::string reason;
    if (!replace::OpenTemporary(path, target, temporary, reason)) {
        return Outcome::Failure(reason);
    }
    Outcome written = writeContent(temporary.file);
    if (written.ok() && std::fflush(temporary.file) != 0) {
        written = Outcome::Failure(replace::ReasonOf(errno));
    }
    if (written.ok() && !replace::SyncFile(temporary.file, reason)) {
        written = Outcome::Failure(reason);
    }
    if (std::fclose(temporary.file) != 0 && written.ok()) {
        written = Outcome::Failure(replace::ReasonOf(errno));
    }
    if (written.ok()) {
        if (replace::PutInPlace(temporary, path, target, reason)) {
            replace::ClearPending();
            replace::SyncFolder(path);
            return written;
        }
        written = Outcome::Failure(reason);
    }
    replace::Discard(temporary);
    return written;
}

Outcome ReplaceFileWithBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    return ReplaceFileAtomically(path, [bytes](std::FILE* file) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            return Outcome::Failure(replace::ReasonOf(errno));
        }
        return Outcome::Success();
    });
}

void RemoveInterruptedTemporaryFile() {
    if (replace::pending != 0) {
#if defined(_WIN32)
        (void)::_wunlink(replace::pendingPath);
#else
        (void)::unlink(replace::pendingPath);
#endif
        replace::pending = 0;
    }
}

}  // namespace korvel

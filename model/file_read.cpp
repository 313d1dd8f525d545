#include "file_read.h"

#include "error_text.h"

#include <cerrno>
#include <cstring>
#include <new>

#if defined(_WIN32)
#include "paths.h"

#include <cstdio>
#include <filesystem>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvel {

namespace {

FileReadResult Failure(ReadStatus status, std::string reason) {
    FileReadResult result;
    result.status = status;
    result.reason = std::move(reason);
    return result;
}

// Allocation is the one place a large file can fail for want of memory; it must not throw.
bool Allocate(FileReadResult& result, std::uint64_t size) {
    result.bytes.reset(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
    result.size = size;
    return result.bytes != nullptr;
}

}  // namespace

#if defined(_WIN32)

// UTF-8 names reach Windows' wide file functions.
FileReadResult ReadRegularFile(const std::string& utf8Path, std::uint64_t maxSize) {
    const auto native = NativePathOf(utf8Path);
    if (!native) {
        return Failure(ReadStatus::cannotOpen, native.reason());
    }
    const std::filesystem::path& path = *native;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        if (!error) {
            return Failure(ReadStatus::notRegular, "it is not a regular file");
        }
        FileReadResult failed = Failure(ReadStatus::cannotOpen, ErrorText(error));
        failed.missing = error == std::errc::no_such_file_or_directory;
        return failed;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(::_wfopen(path.c_str(), L"rb"),
                                                               &std::fclose);
    if (file == nullptr) {
        return Failure(ReadStatus::cannotOpen, ErrnoText(errno));
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        return Failure(ReadStatus::cannotOpen, ErrorText(error));
    }
    if (size > maxSize) {
        return Failure(ReadStatus::tooLarge, "it is too large");
    }
    FileReadResult result;
    if (!Allocate(result, size)) {
        return Failure(ReadStatus::noMemory, "there is not enough memory");
    }
    if (std::fread(result.bytes.get(), 1, size, file.get()) != size) {
        return Failure(ReadStatus::shortRead, "the file could not be read to its end");
    }
    return result;
}

#else

FileReadResult ReadRegularFile(const std::string& path, std::uint64_t maxSize) {
    // O_NONBLOCK makes opening a FIFO with no writer return at once instead of waiting.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        FileReadResult failed = Failure(ReadStatus::cannotOpen, ErrnoText(error));
        failed.missing = error == ENOENT;
        return failed;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{descriptor};
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        return Failure(ReadStatus::cannotOpen, ErrnoText(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return Failure(ReadStatus::notRegular, "it is a folder, not a file");
    }
    if (!S_ISREG(info.st_mode)) {
        return Failure(ReadStatus::notRegular, "it is not a regular file");
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > maxSize) {
        return Failure(ReadStatus::tooLarge, "it is too large");
    }
    FileReadResult result;
    if (!Allocate(result, size)) {
        return Failure(ReadStatus::noMemory, "there is not enough memory");
    }
    std::uint64_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(descriptor, result.bytes.get() + done, size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return Failure(ReadStatus::shortRead, ErrnoText(errno));
        }
        if (got == 0) {
            return Failure(ReadStatus::shortRead, "the file ended before its size");
        }
        done += static_cast<std::uint64_t>(got);
    }
    return result;
}

#endif

}  // namespace korvel

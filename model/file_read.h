// Reading a whole file that must be a regular one: a FIFO, a device or a folder is refused
// before a byte is read, so no input can block the program or feed it without end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace korvel {

enum class ReadStatus { ok, cannotOpen, notRegular, tooLarge, noMemory, shortRead };

struct [[nodiscard]] FileReadResult {
    ReadStatus status = ReadStatus::ok;
    std::string reason;    // for a failure: why, from the call that failed
    bool missing = false;  // cannotOpen because no file has that name
    std::unique_ptr<std::uint8_t[]> bytes;
    std::uint64_t size = 0;
    bool ok() const { return status == ReadStatus::ok; }
};

// Reads the file at `path` when it is a regular file of at most `maxSize` bytes. The open never
// blocks, and the type is checked on the open descriptor, so nothing can swap the file between
// the check and the read.
FileReadResult ReadRegularFile(const std::string& path, std::uint64_t maxSize);

}  // namespace korvel

// The bank-name side file: twelve lines, one stored bank name each.
#include "side_file.h"

#include "paths.h"

#include "atomic_file.h"
#include "dump_image.h"
#include "file_read.h"
#include "side_file_text.h"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace korvel {

namespace {

// Twelve names of any length fit many times over; more is not a side file.
constexpr std::uint64_t kMaxSideFileSize = 16 * 1024 * 1024;

constexpr const char* kSideFileExtension = ".bnl";

constexpr const char* kOwnSideFileReason =
    "its name ends in \".bnl\", the name of its own bank-name file, so saving it would "
    "overwrite it; choose another name";

}  // namespace

std::string SideFilePath(const std::string& dumpPath) {
    return WithExtension(dumpPath, kSideFileExtension);
}

bool SideFileIsDumpItself(const std::string& dumpPath) {
    return HasExtension(dumpPath, kSideFileExtension);
}

int DumpImage::ReadBankNames(const std::string& path) {
    for (auto& name : bankNames_) {
        name.clear();
    }
    // Anything but a regular file (a FIFO, a device) counts as a missing side file.
    const FileReadResult read = ReadRegularFile(path, kMaxSideFileSize);
    if (!read.ok()) {
        return 0;
    }
    // Read in binary so LF and CR LF endings read the same on every platform.
    std::string line;
    int bank = 0;
    const auto finishLine = [this, &line, &bank] {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        bankNames_[static_cast<std::size_t>(bank++)] = NameOfSideFileLine(line);
        line.clear();
    };
    for (std::uint64_t i = 0; i < read.size && bank < kBankCount; ++i) {
        const char c = static_cast<char>(read.bytes[i]);
        if (c == '\n') {
            finishLine();
        } else {
            line.push_back(c);
        }
    }
    // A last line without its line end still names its bank.
    if (bank < kBankCount && !line.empty()) {
        finishLine();
    }
    return 1;
}

Outcome DumpImage::SaveBankNames(const std::string& path) const {
    return SaveBankNamesLike(path, {});
}

Outcome DumpImage::SaveBankNamesLike(const std::string& path,
                                     const std::string& permissionsFrom) const {
    const auto writeNames = [this](std::FILE* file) {
        for (const auto& name : bankNames_) {
            const std::string line = SideFileLineOfName(name);
            if (std::fwrite(line.data(), 1, line.size(), file) != line.size() ||
                std::fwrite("\r\n", 1, 2, file) != 2) {
                return Outcome::Failure(std::strerror(errno));
            }
        }
        return Outcome::Success();
    };
    return ReplaceFileAtomically(path, writeNames, permissionsFrom);
}

int DumpImage::WriteBankNames(const std::string& path) const {
    return SaveBankNames(path).ok() ? 1 : 0;
}

void ReadBankNamesBeside(DumpImage& image, const std::string& dumpPath) {
    if (SideFileIsDumpItself(dumpPath)) {
        for (int bank = 0; bank < kBankCount; ++bank) {
            image.SetBankName(bank, {});
        }
        return;
    }
    (void)image.ReadBankNames(SideFilePath(dumpPath));
}

Outcome WriteBankNamesBeside(const DumpImage& image, const std::string& dumpPath) {
    if (SideFileIsDumpItself(dumpPath)) {
        return Outcome::Failure(kOwnSideFileReason);
    }
    // A new side file is no more readable than the dump it names the banks of.
    return image.SaveBankNamesLike(SideFilePath(dumpPath), dumpPath);
}

DumpSaveResult SaveDumpWithBankNames(const DumpImage& image, const std::string& dumpPath) {
    DumpSaveResult result;
    result.sideFile = SideFilePath(dumpPath);
    if (SideFileIsDumpItself(dumpPath)) {
        result.dump = Outcome::Failure(kOwnSideFileReason);
        return result;
    }
    result.dump = image.SaveFile(dumpPath);
    if (result.dump.ok()) {
        result.names = image.SaveBankNamesLike(result.sideFile, dumpPath);
    }
    return result;
}

}  // namespace korvel

// The bank-name side file: twelve lines, one stored bank name each.
#include "side_file.h"

#include "error_text.h"
#include "paths.h"

#include "atomic_file.h"
#include "dump_image.h"
#include "file_read.h"
#include "side_file_text.h"

#include <array>
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

namespace {

// Whether there was a side file to read. Only "no such file" means there are no names: a side
// file that is there and cannot be read gives the reason.
Result<bool> ReadNames(const std::string& path, std::array<std::string, kBankCount>& names) {
    for (auto& name : names) {
        name.clear();
    }
    const FileReadResult read = ReadRegularFile(path, kMaxSideFileSize);
    if (read.missing) {
        return false;
    }
    if (!read.ok()) {
        return Result<bool>::Failure(read.reason);
    }
    // Read in binary so LF and CR LF endings read the same on every platform.
    std::string line;
    std::size_t bank = 0;
    const auto finishLine = [&names, &line, &bank] {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        names[bank++] = NameOfSideFileLine(line);
        line.clear();
    };
    for (std::uint64_t i = 0; i < read.size && bank < names.size(); ++i) {
        const char c = static_cast<char>(read.bytes[i]);
        if (c == '\n') {
            finishLine();
        } else {
            line.push_back(c);
        }
    }
    // A last line without its line end still names its bank.
    if (bank < names.size() && !line.empty()) {
        finishLine();
    }
    return true;
}

std::string UnreadText(const std::string& sideFile, const std::string& reason) {
    return FileNameOf(sideFile) + " is there but cannot be read (" + reason +
           "); it was left as it is";
}

// A side file that is there but cannot be read holds names this program never saw.
Outcome MayReplace(const std::string& sideFile) {
    std::array<std::string, kBankCount> names;
    const auto read = ReadNames(sideFile, names);
    return read ? Outcome::Success() : Outcome::Failure(UnreadText(sideFile, read.reason()));
}

}  // namespace

int DumpImage::ReadBankNames(const std::string& path) {
    const auto read = ReadNames(path, bankNames_);
    return read && *read ? 1 : 0;
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
                return Outcome::Failure(ErrnoText(errno));
            }
        }
        return Outcome::Success();
    };
    return ReplaceFileAtomically(path, writeNames, permissionsFrom);
}

int DumpImage::WriteBankNames(const std::string& path) const {
    return SaveBankNames(path).ok() ? 1 : 0;
}

std::string SideFileOf(const std::string& dumpPath) {
    // A link that leads nowhere has no file to be beside: its own name stands.
    return SideFilePath(FileBehindLinks(dumpPath).value_or(dumpPath));
}

Outcome ReadBankNamesBeside(DumpImage& image, const std::string& dumpPath) {
    if (SideFileIsDumpItself(dumpPath)) {
        for (int bank = 0; bank < kBankCount; ++bank) {
            image.SetBankName(bank, {});
        }
        return Outcome::Success();
    }
    const std::string sideFile = SideFileOf(dumpPath);
    std::array<std::string, kBankCount> names;
    const auto read = ReadNames(sideFile, names);
    for (int bank = 0; bank < kBankCount; ++bank) {
        image.SetBankName(bank, std::move(names[static_cast<std::size_t>(bank)]));
    }
    if (!read) {
        return Outcome::Failure("Its bank names are not shown: " + FileNameOf(sideFile) +
                                " cannot be read (" + read.reason() +
                                "). Saving leaves that file as it is.");
    }
    return Outcome::Success();
}

Outcome WriteBankNamesBeside(const DumpImage& image, const std::string& dumpPath) {
    if (SideFileIsDumpItself(dumpPath)) {
        return Outcome::Failure(kOwnSideFileReason);
    }
    const std::string sideFile = SideFileOf(dumpPath);
    if (auto refused = MayReplace(sideFile); !refused) {
        return refused;
    }
    // A new side file is no more readable than the dump it names the banks of.
    return image.SaveBankNamesLike(sideFile, dumpPath);
}

DumpSaveResult SaveDumpWithBankNames(const DumpImage& image, const std::string& dumpPath) {
    DumpSaveResult result;
    if (SideFileIsDumpItself(dumpPath)) {
        result.sideFile = SideFilePath(dumpPath);
        result.dump = Outcome::Failure(kOwnSideFileReason);
        return result;
    }
    result.dump = image.SaveFile(dumpPath);
    if (!result.dump.ok()) {
        result.sideFile = SideFilePath(dumpPath);
        return result;
    }
    // Once saved, the dump is there, so a link to a new file now leads to it.
    result.sideFile = SideFileOf(dumpPath);
    if (auto refused = MayReplace(result.sideFile); !refused) {
        result.names = refused;
        result.sideFileUnread = true;
        return result;
    }
    result.names = image.SaveBankNamesLike(result.sideFile, dumpPath);
    return result;
}

}  // namespace korvel

// The bank-name side file: twelve lines, one stored bank name each.
#include "side_file.h"

#include "atomic_file.h"
#include "dump_image.h"

#include <cstdio>
#include <string_view>

namespace korvel {

std::string SideFilePath(const std::string& dumpPath) {
    const auto separator = dumpPath.find_last_of("/\\");
    const auto dot = dumpPath.find_last_of('.');
    const bool dotInFileName =
        dot != std::string::npos && (separator == std::string::npos || dot > separator);
    return (dotInFileName ? dumpPath.substr(0, dot) : dumpPath) + ".bnl";
}

int DumpImage::ReadBankNames(const std::string& path) {
    for (auto& name : bankNames) {
        name.clear();
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return 0;
    }
    // Read in binary so LF and CR LF endings read the same on every platform.
    std::string line;
    int bank = 0;
    bool lineStarted = false;
    int c;
    while (bank < kBankCount && (c = std::fgetc(file)) != EOF) {
        lineStarted = true;
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            bankNames[bank++] = std::move(line);
            line.clear();
            lineStarted = false;
        } else {
            line.push_back(static_cast<char>(c));
        }
    }
    if (bank < kBankCount && lineStarted) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        bankNames[bank] = std::move(line);
    }
    std::fclose(file);
    return 1;
}

int DumpImage::WriteBankNames(const std::string& path) const {
    const auto result = ReplaceFileAtomically(path, [this](std::FILE* file) {
        for (const auto& name : bankNames) {
            if (std::fwrite(name.data(), 1, name.size(), file) != name.size() ||
                std::fwrite("\r\n", 1, 2, file) != 2) {
                return WriteResult::Failure("the bank names could not be written");
            }
        }
        return WriteResult::Success();
    });
    return result.ok ? 1 : 0;
}

}  // namespace korvel

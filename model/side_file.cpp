// The bank-name side file: twelve lines, one stored bank name each.
#include "side_file.h"

#include "atomic_file.h"
#include "dump_image.h"

#include <cstdio>
#include <memory>

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
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (file == nullptr) {
        return 0;
    }
    // Read in binary so LF and CR LF endings read the same on every platform.
    std::string line;
    int bank = 0;
    const auto finishLine = [this, &line, &bank] {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        bankNames[static_cast<std::size_t>(bank++)] = std::move(line);
        line.clear();
    };
    int c;
    while (bank < kBankCount && (c = std::fgetc(file.get())) != EOF) {
        if (c == '\n') {
            finishLine();
        } else {
            line.push_back(static_cast<char>(c));
        }
    }
    // A last line without its line end still names its bank.
    if (bank < kBankCount && !line.empty()) {
        finishLine();
    }
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

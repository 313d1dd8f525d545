#include "dump_files.h"

#include "side_file.h"
#include "wrong_checksums.h"

#include <ostream>

namespace korvel::cli {

int LoadDump(const std::string& path, std::optional<MemoryLayout> layout, DumpImage& image,
             LoadReport* report, Streams streams) {
    LoadResult result = image.LoadFile(path);
    if (!result.ok()) {
        // Every message but the short read's fixed text names the file itself.
        streams.err << kProgram << ": "
                    << (result.status == LoadStatus::shortRead ? path + ": " : std::string())
                    << result.message << "\n";
        return kFileError;
    }
    if (const Outcome names = ReadBankNamesBeside(image, path); !names) {
        streams.err << kProgram << ": " << path << ": " << names.reason() << "\n";
    }
    if (layout) {
        image.SetLayout(*layout);
    }
    if (report != nullptr) {
        *report = std::move(result.report);
    }
    return kDone;
}

int SaveBankNames(const DumpImage& image, const std::string& dumpPath, Streams streams) {
    const Outcome written = WriteBankNamesBeside(image, dumpPath);
    if (!written.ok()) {
        streams.err << kProgram << ": the bank names of " << dumpPath
                    << " were not written: " << written.reason() << "\n";
        return kFileError;
    }
    return kDone;
}

int SaveDump(const DumpImage& image, const std::string& path, Streams streams) {
    const DumpSaveResult saved = SaveDumpWithBankNames(image, path);
    if (!saved.dump.ok()) {
        streams.err << kProgram << ": cannot write " << path << ": " << saved.dump.reason() << "\n";
        return kFileError;
    }
    if (!saved.names.ok()) {
        streams.err << kProgram << ": " << path << " was saved, but its bank names were not: "
                    << (saved.sideFileUnread ? "" : "cannot write " + saved.sideFile + ": ")
                    << saved.names.reason() << "\n";
        return kFileError;
    }
    return kDone;
}

int PrintProblems(const DumpImage& image, const LoadReport& report, std::ostream& out) {
    int problems = 0;
    for (const WrongChecksum& wrong : WrongChecksums(image)) {
        ++problems;
        out << (wrong.place.area == SlotArea::pattern ? "pattern " : "playlist ")
            << wrong.place.index;
        if (wrong.offset) {
            out << " at offset " << *wrong.offset;
        }
        out << ": checksum " << wrong.found << ", expected " << wrong.expected << "\n";
    }
    for (const auto& skipped : report.entries) {
        ++problems;
        out << "offset " << skipped.offset << ": passed over, " << SkipReasonText(skipped.reason)
            << "\n";
    }
    if (report.entries.size() < report.Total()) {
        problems += static_cast<int>(report.Total() - report.entries.size());
        out << (report.Total() - report.entries.size()) << " more messages passed over\n";
    }
    return problems;
}

}  // namespace korvel::cli

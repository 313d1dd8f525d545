#include "backups_command.h"

#include "backups.h"

#include "dump_files.h"
#include "tree_output.h"

#include <limits>
#include <ostream>

namespace korvel::cli {

int Backups(const Options& options, Streams streams) {
    if (!options.arguments.empty()) {
        streams.err << kProgram << ": backups takes no arguments; see " << kProgram
                    << " backups --help\n";
        return kBadArguments;
    }
    const std::string folder = options.folder.value_or(DefaultBackupFolder());
    const auto backups = ListBackups(folder, options.layout.value_or(MemoryLayout()),
                                     std::numeric_limits<std::size_t>::max());
    if (options.json) {
        streams.out << "[";
        for (std::size_t i = 0; i < backups.size(); ++i) {
            const Backup& backup = backups[i];
            streams.out << (i ? "," : "") << "{\"file\":" << JsonString(backup.path)
                        << ",\"when\":\"" << backup.when << "\",\"messages\":" << backup.messages
                        << ",\"change\":\"" << backup.change << "\"}";
        }
        streams.out << "]\n";
        return kDone;
    }
    if (backups.empty()) {
        streams.out << "No backups in " << folder << "\n";
        return kDone;
    }
    for (const Backup& backup : backups) {
        streams.out << backup.when << "  " << backup.messages << " messages  " << backup.change
                    << "  " << backup.path << "\n";
    }
    return kDone;
}

}  // namespace korvel::cli

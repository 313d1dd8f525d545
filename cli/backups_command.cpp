#include "backups_command.h"

#include "backups.h"

#include "dump_files.h"
#include "tree_output.h"

#include <limits>
#include <ostream>

namespace korvel::cli {

int Backups(const Options& options, Streams streams) {
    const std::string folder = options.folder.value_or(DefaultBackupFolder());
    const BackupList list = ListBackups(folder, options.layout.value_or(MemoryLayout()),
                                        std::numeric_limits<std::size_t>::max());
    // The default folder is made by the first receive; a folder asked for must be there.
    if (list.folderMissing && options.folder) {
        streams.err << kProgram << ": there is no folder " << folder << "\n";
        return kFileError;
    }
    const auto& backups = list.backups;
    if (options.json) {
        streams.out << "[";
        for (std::size_t i = 0; i < backups.size(); ++i) {
            const Backup& backup = backups[i];
            streams.out << (i ? "," : "") << "{\"file\":" << JsonString(backup.path)
                        << ",\"when\":\"" << backup.when << "\",\"messages\":" << backup.messages
                        << ",\"change\":\"" << backup.change << "\"}";
        }
        streams.out << "]\n";
    } else {
        if (backups.empty() && list.problem.empty()) {
            streams.out << "No backups in " << folder << "\n";
        }
        for (const Backup& backup : backups) {
            streams.out << backup.when << "  "
                        << (backup.readable ? std::to_string(backup.messages) + " messages  "
                                            : std::string())
                        << backup.change << "  " << backup.path << "\n";
        }
    }
    if (!list.problem.empty()) {
        streams.err << kProgram << ": " << list.problem << "\n";
        return kFileError;
    }
    return kDone;
}

}  // namespace korvel::cli

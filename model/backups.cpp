#include "backups.h"

#include "count_text.h"
#include "error_text.h"
#include "dump_image.h"
#include "paths.h"
#include "system_places.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <tuple>

namespace korvel {

namespace {

namespace fs = std::filesystem;

constexpr const char* kDumpExtension = ".syx";

// The order of backups: the stamp, then the number a second backup of the same second got.
struct Found {
    std::string path;
    std::string stamp;  // "2026-12-08 21-05-33"
    int counter = 1;
};

// The stamp and counter of a name Korvel gave a backup.
std::optional<Found> FromName(const std::string& name) {
    static const std::regex kName(
        R"(W2 (\d{4}-\d{2}-\d{2} \d{2}-\d{2}-\d{2})(?: \((\d{1,6})\))?\.syx)");
    std::smatch match;
    try {
        if (!std::regex_match(name, match, kName)) {
            return std::nullopt;
        }
    } catch (const std::regex_error&) {
        return std::nullopt;  // a name too odd to match is no backup of ours
    }
    return Found{{}, match[1].str(), match[2].matched ? std::stoi(match[2].str()) : 1};
}

// The file's time as a stamp; "" when the system cannot say.
std::string StampOfFileTime(const fs::path& path) {
    std::error_code error;
    const auto written = fs::last_write_time(path, error);
    if (error) {
        return {};
    }
    // The file clock's distance from now, on the system clock: every library has both clocks,
    // not every one converts between them.
    const auto age = fs::file_time_type::clock::now() - written;
    const auto when = std::chrono::system_clock::now() -
                      std::chrono::duration_cast<std::chrono::system_clock::duration>(age);
    return BackupStamp(std::chrono::system_clock::to_time_t(when));
}

// "2026-12-08 21-05-33" as "2026-12-08 21:05:33".
std::string ShownStamp(std::string stamp) {
    if (stamp.size() == 19) {
        stamp[13] = ':';
        stamp[16] = ':';
    }
    return stamp;
}

std::vector<Found> FindDumps(const std::string& folder, BackupList& list) {
    std::vector<Found> found;
    const auto native = NativePathOf(folder);
    if (!native) {
        list.problem = "The folder " + folder + " cannot be read: " + native.reason();
        return found;
    }
    std::error_code error;
    fs::directory_iterator it(*native, error);
    if (error) {
        list.folderMissing = error == std::errc::no_such_file_or_directory;
        if (!list.folderMissing) {
            list.problem = "The folder " + folder + " cannot be read: " + ErrorText(error);
        }
        return found;
    }
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) {
            list.problem = "The folder " + folder +
                           " could not be read to its end: " + ErrorText(error) +
                           "; some backups may be missing from the list";
            break;
        }
        const std::string name = Utf8Of(it->path().filename());
        std::error_code typeError;
        if (!HasExtension(name, kDumpExtension) || !it->is_regular_file(typeError)) {
            continue;
        }
        Found entry = FromName(name).value_or(Found{{}, StampOfFileTime(it->path()), 1});
        // Named as the folder was given, so that a listing reads like the paths it was asked for.
        entry.path = PathIn(folder, name);
        found.push_back(std::move(entry));
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.stamp, a.counter, a.path) > std::tie(b.stamp, b.counter, b.path);
    });
    return found;
}

}  // namespace

std::string BackupStamp(std::time_t time) {
    const std::optional<std::tm> local = LocalTimeOf(time);
    char text[32];
    return local && std::strftime(text, sizeof text, "%Y-%m-%d %H-%M-%S", &*local) > 0 ? text : "";
}

Result<std::string> NewBackupPath(const std::string& folder, const std::string& stamp) {
    return UnusedPath(PathIn(folder, "W2 " + stamp), kDumpExtension);
}

std::string DefaultBackupFolder() {
    const std::string data = ProgramDataFolder();
    // In the system's own spelling, as the user sees the folder elsewhere.
    const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
    return data.empty() ? std::string() : data + separator + "Korvel" + separator + "received";
}

std::string ChangeSince(const Comparison& newerAgainstOlder, MemoryLayout layout) {
    const Comparison& c = newerAgainstOlder;
    if (c.IsSame()) {
        return "same as before";
    }
    std::vector<std::string> parts;
    if (c.Differing() > 0) {
        parts.push_back(
            Counted(static_cast<std::uint64_t>(c.Differing()), "slot differs", "slots differ"));
    }
    if (c.OnlyLeft() > 0) {
        parts.push_back(GroupedNumber(static_cast<std::uint64_t>(c.OnlyLeft())) + " only here");
    }
    if (c.OnlyRight() > 0) {
        parts.push_back(GroupedNumber(static_cast<std::uint64_t>(c.OnlyRight())) + " gone");
    }
    if (c.Type3Differs()) {
        parts.push_back("the type-3 message differs");
    }
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ", ") + part;
    }
    if (const int hidden = c.HiddenBy(layout); hidden > 0) {
        text += " (" + GroupedNumber(static_cast<std::uint64_t>(hidden)) +
                " in banks this layout does not show)";
    }
    return text;
}

BackupList ListBackups(const std::string& folder, MemoryLayout layout, std::size_t limit) {
    BackupList list;
    const std::vector<Found> found = FindDumps(folder, list);
    const std::size_t listed = std::min(limit, found.size());
    list.backups.reserve(listed);
    // Each dump is read once and kept until it has been listed; a dump with no W2 message in
    // it (a broken file) is no state of the W2's memory.
    std::map<std::size_t, std::unique_ptr<DumpImage>> read;
    const auto readAt = [&](std::size_t i) -> const DumpImage* {
        auto& image = read[i];
        if (!image) {
            image = std::make_unique<DumpImage>();
            if (!image->LoadFile(found[i].path).ok()) {
                image = std::make_unique<DumpImage>();
            }
        }
        return image->MessagesInSaveOrder().empty() ? nullptr : image.get();
    };
    for (std::size_t i = 0; i < listed; ++i) {
        Backup backup{found[i].path, ShownStamp(found[i].stamp), 0, true, {}};
        const DumpImage* newer = readAt(i);
        const DumpImage* older = nullptr;
        for (std::size_t j = i + 1; newer != nullptr && older == nullptr && j < found.size(); ++j) {
            older = readAt(j);
        }
        if (newer == nullptr) {
            backup.readable = false;
            backup.change = kUnreadableBackupText;
        } else {
            backup.messages = static_cast<int>(newer->MessagesInSaveOrder().size());
            backup.change = older == nullptr ? "the oldest here"
                                             : ChangeSince(Comparison::Of(*newer, *older), layout);
        }
        list.backups.push_back(std::move(backup));
        read.erase(i);
    }
    return list;
}

}  // namespace korvel

#include "backups.h"

#include "count_text.h"
#include "dump_image.h"
#include "paths.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
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
    return BackupStamp(
        std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written)));
}

// "2026-12-08 21-05-33" as "2026-12-08 21:05:33".
std::string ShownStamp(std::string stamp) {
    if (stamp.size() == 19) {
        stamp[13] = ':';
        stamp[16] = ':';
    }
    return stamp;
}

std::vector<Found> FindDumps(const std::string& folder) {
    std::vector<Found> found;
    const auto native = NativePathOf(folder);
    if (!native) {
        return found;
    }
    std::error_code error;
    fs::directory_iterator it(*native, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
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
    std::tm local{};
#if defined(_WIN32)
    if (localtime_s(&local, &time) != 0) {
        return {};
    }
#else
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
#endif
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%d %H-%M-%S", &local) > 0 ? text : "";
}

Result<std::string> NewBackupPath(const std::string& folder, const std::string& stamp) {
    return UnusedPath(PathIn(folder, "W2 " + stamp), kDumpExtension);
}

std::string DefaultBackupFolder() {
#if defined(_WIN32)
    const wchar_t* appData = _wgetenv(L"APPDATA");
    const std::string base = appData != nullptr ? Utf8Of(fs::path(appData)) : std::string();
    return base.empty() ? std::string() : base + "\\Korvel\\received";
#else
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::string(value) : std::string();
    };
    const std::string home = variable("HOME");
#if defined(__APPLE__)
    const std::string data = home.empty() ? "" : home + "/Library/Application Support";
#else
    // As the XDG rule says, a relative XDG_DATA_HOME counts as unset.
    std::string data = variable("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/') {
        data = home.empty() ? "" : home + "/.local/share";
    }
#endif
    return data.empty() ? std::string() : data + "/Korvel/received";
#endif
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

std::vector<Backup> ListBackups(const std::string& folder, MemoryLayout layout, std::size_t limit) {
    const std::vector<Found> found = FindDumps(folder);
    const std::size_t listed = std::min(limit, found.size());
    std::vector<Backup> backups;
    backups.reserve(listed);
    // Each dump is read once: the one listed next is the one before the last.
    auto newer = std::make_unique<DumpImage>();
    bool newerRead = false;
    for (std::size_t i = 0; i < listed; ++i) {
        if (i == 0) {
            newerRead = newer->LoadFile(found[i].path).ok();
        }
        Backup backup{found[i].path, ShownStamp(found[i].stamp), 0, newerRead, {}};
        backup.messages = static_cast<int>(newer->MessagesInSaveOrder().size());
        auto older = std::make_unique<DumpImage>();
        const bool olderRead = i + 1 < found.size() && older->LoadFile(found[i + 1].path).ok();
        if (i + 1 >= found.size()) {
            backup.change = "the oldest here";
        } else if (!newerRead || !olderRead) {
            backup.change = "cannot be compared";
        } else {
            backup.change = ChangeSince(Comparison::Of(*newer, *older), layout);
        }
        backups.push_back(std::move(backup));
        newer = std::move(older);
        newerRead = olderRead;
    }
    return backups;
}

}  // namespace korvel

#include "recent_files.h"

#include "paths.h"

#include <algorithm>
#include <filesystem>

namespace korvel::ui {

namespace {

std::string KeyOf(int pane, std::size_t index) {
    return std::string(pane == 0 ? "Left " : "Right ") + std::to_string(index + 1);
}

}  // namespace

void RecentFiles::Add(const std::string& path) {
    std::erase(paths_, path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kRecentCount) {
        paths_.resize(kRecentCount);
    }
}

std::vector<RecentEntry> RecentFiles::Entries() const {
    std::vector<RecentEntry> entries;
    for (const std::string& path : paths_) {
        const auto native = NativePathOf(path);
        std::error_code error;
        entries.push_back({path, native && std::filesystem::is_regular_file(*native, error)});
    }
    return entries;
}

void RecentFiles::Read(SettingsStore& store, int pane) {
    paths_.clear();
    for (std::size_t i = 0; i < kRecentCount; ++i) {
        std::string path = store.GetString(kRecentSection, KeyOf(pane, i), "");
        if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end()) {
            paths_.push_back(std::move(path));
        }
    }
}

// Keys past the list are cleared only where they hold something, so that a settings file of
// someone who never opened a dump gets no empty section.
void RecentFiles::Write(SettingsStore& store, int pane) const {
    for (std::size_t i = 0; i < kRecentCount; ++i) {
        const std::string key = KeyOf(pane, i);
        if (i < paths_.size()) {
            store.WriteString(kRecentSection, key, paths_[i]);
        } else if (!store.GetString(kRecentSection, key, "").empty()) {
            store.WriteString(kRecentSection, key, "");
        }
    }
}

}  // namespace korvel::ui

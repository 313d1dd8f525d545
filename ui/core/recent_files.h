// The dumps last opened or saved in a pane, newest first, kept from one run to the next in a
// section of the settings of their own.
#pragma once

#include "settings.h"

#include <string>
#include <vector>

namespace korvel::ui {

inline constexpr const char* kRecentSection = "Recent Files";
inline constexpr std::size_t kRecentCount = 8;

// One entry of the Open Recent menu: a path, and whether a file is there now (a missing one is
// shown greyed).
struct RecentEntry {
    std::string path;
    bool present = false;
    friend bool operator==(const RecentEntry&, const RecentEntry&) = default;
};

class RecentFiles {
  public:
    // To the front, once; the oldest beyond the count goes.
    void Add(const std::string& path);
    const std::vector<std::string>& Paths() const { return paths_; }
    std::vector<RecentEntry> Entries() const;

    // Keys "Left 1" to "Left 8" (or "Right ..."), newest first; an empty value is no entry.
    void Read(SettingsStore& store, int pane);
    void Write(SettingsStore& store, int pane) const;

  private:
    std::vector<std::string> paths_;
};

}  // namespace korvel::ui

// A small INI file store that keeps values exactly as written: no escapes, no lists, keys with
// blanks as they stand. Lines it does not manage are kept as they were.
#pragma once

#include "result.h"

#include "settings.h"

#include <string>
#include <vector>

namespace korvel::ui {

class IniFile : public SettingsStore {
  public:
    // Reads the file; a missing or unreadable file, or anything but a regular file, is an empty
    // store.
    void Load(const std::string& path);
    void Parse(const std::string& text);
    std::string Text() const;
    // Replaces the file atomically.
    Outcome Save(const std::string& path) const;

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback) override;
    int GetInt(const std::string& section, const std::string& key, int fallback) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;

  private:
    // Index of the line holding the key within the section, or -1; `sectionEnd` is where a
    // new key of that section goes (-1 when the section does not exist).
    int FindKey(const std::string& section, const std::string& key, int& sectionEnd) const;

    std::vector<std::string> lines_;
};

}  // namespace korvel::ui

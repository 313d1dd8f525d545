// The four values carried from one run to the next, and the store they are kept in.
#pragma once

#include "midi_limits.h"

#include <array>
#include <string>

namespace korvel::ui {

inline constexpr const char* kDirectoriesSection = "Directories";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr std::array<const char*, 2> kDirectoryKeys = {"Directory Left", "Directory Right"};
inline constexpr std::array<const char*, 2> kLayoutKeys = {"MemoryLayout Left",
                                                           "MemoryLayout Right"};
// No layout choice: a missing entry leaves the 12 banks a fresh image has.
inline constexpr int kDefaultLayoutValue = 12;

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& fallback) = 0;
    virtual int GetInt(const std::string& section, const std::string& key, int fallback) = 0;
    virtual void WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    virtual void WriteInt(const std::string& section, const std::string& key, int value) = 0;
};

struct PaneSettings {
    std::array<std::string, 2> folders;
    std::array<int, 2> layoutValues{kDefaultLayoutValue, kDefaultLayoutValue};
};

// The MIDI set-up, in a section of its own; ports are remembered by name.
inline constexpr const char* kMidiSection = "MIDI";
inline constexpr const char* kInputPortKey = "Input Port";
inline constexpr const char* kOutputPortKey = "Output Port";
inline constexpr const char* kMessagePauseKey = "Message Pause";
inline constexpr const char* kReceiveIdleKey = "Receive Idle";
inline constexpr const char* kBackupBeforeSendKey = "Backup Before Send";

struct MidiSettings {
    std::string inputPort;
    std::string outputPort;
    int pauseMs = midi::kDefaultMessagePauseMs;  // between two messages of a send
    int idleMs = midi::kDefaultReceiveIdleMs;    // a receive ends after this long with no byte
    // A send first receives what the W2 holds into the backups.
    bool backupBeforeSend = true;
    friend bool operator==(const MidiSettings&, const MidiSettings&) = default;
};

// Values out of range read as the defaults.
MidiSettings ReadMidiSettings(SettingsStore& store);
void WriteMidiSettings(SettingsStore& store, const MidiSettings& settings);

// Reads in the order left folder, right folder, left layout, right layout.
PaneSettings ReadSettings(SettingsStore& store);
// Writes all four values in the same order, changed or not.
void WriteSettings(SettingsStore& store, const PaneSettings& settings);

}  // namespace korvel::ui

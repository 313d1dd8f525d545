#include "settings.h"

namespace korvel::ui {

PaneSettings ReadSettings(SettingsStore& store) {
    PaneSettings settings;
    for (int pane = 0; pane < 2; ++pane) {
        settings.folders[pane] = store.GetString(kDirectoriesSection, kDirectoryKeys[pane], "");
    }
    for (int pane = 0; pane < 2; ++pane) {
        settings.layoutValues[pane] =
            store.GetInt(kSettingsSection, kLayoutKeys[pane], kDefaultLayoutValue);
    }
    return settings;
}

void WriteSettings(SettingsStore& store, const PaneSettings& settings) {
    for (int pane = 0; pane < 2; ++pane) {
        store.WriteString(kDirectoriesSection, kDirectoryKeys[pane], settings.folders[pane]);
    }
    for (int pane = 0; pane < 2; ++pane) {
        store.WriteInt(kSettingsSection, kLayoutKeys[pane], settings.layoutValues[pane]);
    }
}

MidiSettings ReadMidiSettings(SettingsStore& store) {
    MidiSettings settings;
    const MidiSettings defaults;
    settings.inputPort = store.GetString(kMidiSection, kInputPortKey, "");
    settings.outputPort = store.GetString(kMidiSection, kOutputPortKey, "");
    settings.pauseMs = store.GetInt(kMidiSection, kMessagePauseKey, defaults.pauseMs);
    if (!midi::IsMessagePauseValid(settings.pauseMs)) {
        settings.pauseMs = defaults.pauseMs;
    }
    settings.idleMs = store.GetInt(kMidiSection, kReceiveIdleKey, defaults.idleMs);
    if (!midi::IsReceiveIdleValid(settings.idleMs)) {
        settings.idleMs = defaults.idleMs;
    }
    settings.backupBeforeSend = store.GetInt(kMidiSection, kBackupBeforeSendKey, 1) != 0;
    return settings;
}

void WriteMidiSettings(SettingsStore& store, const MidiSettings& settings) {
    store.WriteString(kMidiSection, kInputPortKey, settings.inputPort);
    store.WriteString(kMidiSection, kOutputPortKey, settings.outputPort);
    store.WriteInt(kMidiSection, kMessagePauseKey, settings.pauseMs);
    store.WriteInt(kMidiSection, kReceiveIdleKey, settings.idleMs);
    store.WriteInt(kMidiSection, kBackupBeforeSendKey, settings.backupBeforeSend ? 1 : 0);
}

}  // namespace korvel::ui

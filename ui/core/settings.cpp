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

}  // namespace korvel::ui

// What differs from system to system about where a program keeps its data and what time it is
// here: one file per system says how (system_places_posix.cpp with data_folder_xdg.cpp or
// data_folder_macos.cpp, system_places_windows.cpp).
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace korvel {

// The folder the system gives programs for their data, as UTF-8: "$XDG_DATA_HOME" (by default
// ~/.local/share) on Linux, %APPDATA% on Windows, ~/Library/Application Support on macOS; ""
// when the environment names none.
std::string ProgramDataFolder();

// `time` in local time; nothing when the system cannot say.
std::optional<std::tm> LocalTimeOf(std::time_t time);

}  // namespace korvel

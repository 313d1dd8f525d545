#include "system_places.h"

#include "paths.h"

#include <cstdlib>
#include <filesystem>

namespace korvel {

std::string ProgramDataFolder() {
    // The wide form, so that a user name outside the code page comes through.
    const wchar_t* appData = _wgetenv(L"APPDATA");
    return appData != nullptr ? Utf8Of(std::filesystem::path(appData)) : std::string();
}

std::optional<std::tm> LocalTimeOf(std::time_t time) {
    std::tm local{};
    if (localtime_s(&local, &time) != 0) {
        return std::nullopt;
    }
    return local;
}

}  // namespace korvel

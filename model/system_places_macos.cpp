#include "system_places.h"

#include <cstdlib>

namespace korvel {

std::string ProgramDataFolder() {
    const char* home = std::getenv("HOME");
    return home == nullptr || *home == '\0' ? std::string()
                                            : std::string(home) + "/Library/Application Support";
}

std::optional<std::tm> LocalTimeOf(std::time_t time) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return std::nullopt;
    }
    return local;
}

}  // namespace korvel

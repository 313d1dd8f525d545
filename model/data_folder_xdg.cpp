// The data folder as the XDG base directory rule names it, for Linux and the other Unixes.
#include "system_places.h"

#include <cstdlib>

namespace korvel {

std::string ProgramDataFolder() {
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::string(value) : std::string();
    };
    // As the XDG rule says, a relative XDG_DATA_HOME counts as unset.
    const std::string data = variable("XDG_DATA_HOME");
    if (!data.empty() && data[0] == '/') {
        return data;
    }
    const std::string home = variable("HOME");
    return home.empty() ? std::string() : home + "/.local/share";
}

}  // namespace korvel

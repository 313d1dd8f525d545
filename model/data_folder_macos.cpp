#include "system_places.h"

#include <cstdlib>

namespace korvel {

std::string ProgramDataFolder() {
    const char* home = std::getenv("HOME");
    return home == nullptr || *home == '\0' ? std::string()
                                            : std::string(home) + "/Library/Application Support";
}

}  // namespace korvel

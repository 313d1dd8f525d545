#include "system_places.h"

namespace korvel {

std::optional<std::tm> LocalTimeOf(std::time_t time) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return std::nullopt;
    }
    return local;
}

}  // namespace korvel

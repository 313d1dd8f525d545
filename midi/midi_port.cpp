#include "midi_port.h"

namespace korvel::midi {

std::string CannotOpenText(const std::string& port, const std::string& reason) {
    if (reason == kPortInUseReason) {
        return port + " is " + reason;
    }
    return port + " cannot be opened: " + reason;
}

}  // namespace korvel::midi

#include "jack_system.h"

#include "jack_input.h"
#include "jack_output.h"

#include <jack/jack.h>

namespace korvel::midi {

namespace {

void Quiet(const char*) {}

}  // namespace

void SilenceJack() {
    jack_set_error_function(Quiet);
    jack_set_info_function(Quiet);
}

JackSystem::JackSystem(std::string clientName)
    : clientName_(std::move(clientName)), listing_(clientName_, RtMidi::UNIX_JACK) {}

InputOpening JackSystem::OpenInput(const std::string& port) {
    return OpenJackInput(clientName_, "receive", port);
}

OutputOpening JackSystem::OpenOutput(const std::string& port) {
    return OpenJackOutput(clientName_, "send", port);
}

InputOpening JackSystem::OpenOwnInput(const std::string& name) {
    return OpenJackInput(clientName_, name, {});
}

OutputOpening JackSystem::OpenOwnOutput(const std::string& name) {
    return OpenJackOutput(clientName_, name, {});
}

}  // namespace korvel::midi

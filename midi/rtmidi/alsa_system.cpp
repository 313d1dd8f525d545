#include "alsa_system.h"

#include "alsa_input.h"

#include <alsa/asoundlib.h>

namespace korvel::midi {

namespace {

void Quiet(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void SilenceAlsa() {
    snd_lib_error_set_handler(Quiet);
}

AlsaSystem::AlsaSystem(std::string clientName)
    : clientName_(std::move(clientName)), rtmidi_(clientName_, RtMidi::LINUX_ALSA) {}

InputOpening AlsaSystem::OpenInput(const std::string& port) {
    return OpenAlsaInput(clientName_, "receive", port);
}

InputOpening AlsaSystem::OpenOwnInput(const std::string& name) {
    return OpenAlsaInput(clientName_, name, {});
}

}  // namespace korvel::midi

#include "open_system.h"

#include "rtmidi_system.h"

#if defined(KORVEL_HAVE_JACK_PORTS)
#include "jack_system.h"
#endif
#if defined(KORVEL_HAVE_ALSA_INPUT)
#include "alsa_system.h"
#endif

namespace korvel::midi {

std::unique_ptr<MidiSystem> OpenSystem(const std::string& clientName) {
    // RtMidi's probe of each API already talks to the libraries.
#if defined(KORVEL_HAVE_JACK_PORTS)
    SilenceJack();
#endif
#if defined(KORVEL_HAVE_ALSA_INPUT)
    SilenceAlsa();
#endif
    const std::optional<RtMidi::Api> api = ChooseRtMidiApi(clientName);
#if defined(KORVEL_HAVE_JACK_PORTS)
    if (api == RtMidi::UNIX_JACK) {
        return std::make_unique<JackSystem>(clientName);
    }
#endif
#if defined(KORVEL_HAVE_ALSA_INPUT)
    if (api == RtMidi::LINUX_ALSA) {
        return std::make_unique<AlsaSystem>(clientName);
    }
#endif
    return std::make_unique<RtMidiSystem>(clientName, api);
}

}  // namespace korvel::midi

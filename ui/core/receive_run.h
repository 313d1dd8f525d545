// What the "Receive from W2" dialog drives: the input port the user picked and the receive on
// it. Switching the port starts the receive anew on the other port.
#pragma once

#include "midi_clock.h"
#include "midi_port.h"
#include "receive_session.h"

#include <memory>
#include <optional>
#include <string>

namespace korvel::ui {

class ReceiveRun {
  public:
    ReceiveRun(midi::MidiSystem& midi, midi::Clock& clock, midi::Duration idleEnd);

    // Opens the port and starts listening on it; the reason when it cannot be opened, and then
    // nothing listens until a port opens. Listening on the same port again changes nothing.
    // Bytes that already came on another port stay the receive's: the port is then kept.
    std::optional<std::string> Listen(const std::string& port);
    const std::string& Port() const { return port_; }
    bool IsListening() const { return session_ != nullptr; }
    bool MayChangePort() const { return session_ == nullptr || session_->NothingArrived(); }

    // Called by the dialog's timer, and for its two buttons.
    void Poll();
    void Finish();
    void Cancel();

    bool HasEnded() const { return ended_ || (session_ && session_->HasEnded()); }
    // The line under the port: the counts once bytes flow, a hint after a long silence.
    std::string StatusText();
    // Null before a port was opened.
    const midi::ReceiveSession* Session() const { return session_.get(); }

  private:
    midi::MidiSystem& midi_;
    midi::Clock& clock_;
    midi::Duration idleEnd_;
    std::string port_;
    std::unique_ptr<midi::MidiInput> input_;
    std::unique_ptr<midi::ReceiveSession> session_;
    bool ended_ = false;
};

inline constexpr const char* kReceiveHint =
    "Nothing has arrived yet. Check that this is the port the W2 is connected to, that the "
    "cable runs from the W2's MIDI Out to this port, and that the W2 sends SysEx.";

}  // namespace korvel::ui

// What the "Receive from W2" dialog drives: the list of input ports, the port the user picked
// and the receive on it. Switching the port starts the receive anew on the other port.
#pragma once

#include "midi_clock.h"
#include "midi_port.h"
#include "receive_session.h"
#include "result.h"

#include "port_choices.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace korvel::ui {

class ReceiveRun {
  public:
    // `setUp` runs the MIDI Setup and gives back the input port chosen there, or nothing when
    // the set-up was cancelled.
    using SetUpRun = std::function<std::optional<std::string>()>;
    ReceiveRun(midi::MidiSystem& midi, midi::Clock& clock, midi::Duration idleEnd,
               SetUpRun setUp = {});

    // The port list: `ports`' inputs with `preselected` chosen; then listens on the choice. The
    // reason when it cannot be opened.
    Outcome Offer(const midi::MidiPortList& ports, const std::string& preselected);
    const PortChoices& Choices() const { return choices_; }
    // The user picked an entry of the list ("" for none, which changes nothing).
    Outcome Choose(const std::string& port);
    // Refresh: the system's ports read afresh, the chosen one kept where it is still there.
    Outcome Refresh();
    // MIDI Setup from the dialog: the list chooses the port chosen there; a cancelled set-up
    // changes nothing.
    Outcome SetUp();

    // Opens the port and starts listening on it; the reason when it cannot be opened, and then
    // nothing listens until a port opens. Listening on the same port again changes nothing.
    // Bytes that already came on another port stay the receive's: the port is then kept.
    Outcome Listen(const std::string& port);
    const std::string& Port() const { return port_; }
    bool IsListening() const { return session_ != nullptr; }
    bool MayChangePort() const { return session_ == nullptr || session_->NothingArrived(); }

    // Called by the dialog's timer, and for its two buttons.
    void Poll();
    void Finish();
    void Cancel();

    bool HasEnded() const { return ended_ || (session_ && session_->HasEnded()); }
    // The user left the dialog with Cancel, whatever had come by then.
    bool WasCancelled() const { return cancelled_; }
    // The line under the port: the counts once bytes flow, a hint after a long silence.
    std::string StatusText();
    // Null before a port was opened.
    const midi::ReceiveSession* Session() const { return session_.get(); }

  private:
    Outcome ChooseFrom(const std::vector<std::string>& ports, const std::string& port);

    midi::MidiSystem& midi_;
    midi::Clock& clock_;
    midi::Duration idleEnd_;
    SetUpRun setUp_;
    std::vector<std::string> ports_;
    PortChoices choices_;
    std::string chosen_;  // the entry the list shows
    std::string port_;    // the port listened on
    std::unique_ptr<midi::MidiInput> input_;
    std::unique_ptr<midi::ReceiveSession> session_;
    bool ended_ = false;
    bool cancelled_ = false;
};

inline constexpr const char* kReceiveHint =
    "Nothing has arrived yet. Check that this is the port the W2 is connected to, that the "
    "cable runs from the W2's MIDI Out to this port, and that the W2 sends SysEx.";

}  // namespace korvel::ui

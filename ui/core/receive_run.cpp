#include "receive_run.h"

namespace korvel::ui {

ReceiveRun::ReceiveRun(midi::MidiSystem& midi, midi::Clock& clock, midi::Duration idleEnd)
    : midi_(midi), clock_(clock), idleEnd_(idleEnd) {}

std::optional<std::string> ReceiveRun::Listen(const std::string& port) {
    if (IsListening() && port == port_) {
        return std::nullopt;
    }
    if (!MayChangePort()) {
        return "A receive is under way on " + port_ + ".";
    }
    // The old port closes first, so that a device that opens only once (on Windows) can be
    // opened again; after a failure nothing listens, and the next choice opens afresh.
    session_.reset();
    input_.reset();
    port_.clear();
    std::string reason;
    auto input = midi_.OpenInput(port, reason);
    if (!input) {
        return midi::CannotOpenText(port, reason);
    }
    input_ = std::move(input);
    port_ = port;
    session_ = std::make_unique<midi::ReceiveSession>(*input_, clock_, idleEnd_);
    return std::nullopt;
}

void ReceiveRun::Poll() {
    if (session_) {
        session_->Poll();
    }
}

void ReceiveRun::Finish() {
    if (session_) {
        session_->Finish();
    }
    ended_ = true;
}

void ReceiveRun::Cancel() {
    if (session_) {
        session_->Cancel();
    }
    ended_ = true;
}

std::string ReceiveRun::StatusText() {
    if (!session_) {
        return {};
    }
    if (session_->ShowHint()) {
        return kReceiveHint;
    }
    return session_->NothingArrived() ? std::string() : session_->ProgressText();
}

}  // namespace korvel::ui

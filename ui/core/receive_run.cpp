#include "receive_run.h"

namespace korvel::ui {

ReceiveRun::ReceiveRun(midi::MidiSystem& midi, midi::Clock& clock, midi::Duration idleEnd,
                       SetUpRun setUp)
    : midi_(midi), clock_(clock), idleEnd_(idleEnd), setUp_(std::move(setUp)) {}

Outcome ReceiveRun::Offer(const midi::MidiPortList& ports, const std::string& preselected) {
    return ChooseFrom(ports.inputs, preselected);
}

Outcome ReceiveRun::ChooseFrom(const std::vector<std::string>& ports, const std::string& port) {
    ports_ = ports;
    choices_ = MakePortChoices(ports_, port);
    const auto& entries = choices_.entries;
    const auto selected = static_cast<std::size_t>(choices_.selected);
    return Choose(selected < entries.size() ? entries[selected].port : std::string());
}

Outcome ReceiveRun::Choose(const std::string& port) {
    if (port.empty()) {
        return Outcome::Success();
    }
    chosen_ = port;
    for (std::size_t i = 0; i < choices_.entries.size(); ++i) {
        if (choices_.entries[i].port == port) {
            choices_.selected = static_cast<int>(i);
        }
    }
    return Listen(port);
}

Outcome ReceiveRun::Refresh() {
    return ChooseFrom(midi_.ListPorts().inputs, chosen_);
}

Outcome ReceiveRun::SetUp() {
    const std::optional<std::string> chosen = setUp_ ? setUp_() : std::nullopt;
    if (!chosen) {
        return Outcome::Success();  // still listening where the dialog was
    }
    return ChooseFrom(ports_, *chosen);
}

Outcome ReceiveRun::Listen(const std::string& port) {
    if (IsListening() && port == port_) {
        return Outcome::Success();
    }
    if (!MayChangePort()) {
        return Outcome::Failure("A receive is under way on " + port_ + ".");
    }
    // The old port closes first, so that a device that opens only once (on Windows) can be
    // opened again; after a failure nothing listens, and the next choice opens afresh.
    session_.reset();
    input_.reset();
    port_.clear();
    auto input = midi_.OpenInput(port);
    if (!input) {
        return Outcome::Failure(midi::CannotOpenText(port, input.reason()));
    }
    input_ = *std::move(input);
    port_ = port;
    session_ = std::make_unique<midi::ReceiveSession>(*input_, clock_, idleEnd_);
    return Outcome::Success();
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
    cancelled_ = true;
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

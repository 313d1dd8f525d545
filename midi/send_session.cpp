#include "send_session.h"

#include "count_text.h"
#include "sysex_message.h"

namespace korvel::midi {

namespace {

Duration CableTime(std::uint64_t bytes) {
    return std::chrono::duration_cast<Duration>(kCableTimePerByte *
                                                static_cast<std::int64_t>(bytes));
}

}  // namespace

SendPlan PlanSend(const DumpImage& image, Duration pause) {
    SendPlan plan;
    plan.messages = image.MessagesInSaveOrder();
    for (const auto message : plan.messages) {
        plan.bytes += message.size();
        plan.longest = std::max(plan.longest, message.size());
        if (!HasValidChecksum(message.data(), message.data() + message.size() - 1)) {
            ++plan.wrongChecksums;
        }
    }
    plan.estimate = CableTime(plan.bytes) + pause * static_cast<std::int64_t>(plan.messages.size());
    return plan;
}

std::string SecondsText(Duration duration) {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(duration).count() + 500;
    const long long whole = seconds / 1000;
    if (whole < 120) {
        return std::to_string(whole) + " s";
    }
    return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
}

std::string SendQuestion(const SendPlan& plan, const std::string& paneName,
                         const std::string& port) {
    std::string text = "Send the " + paneName + " dump to " + port + "? " +
                       Counted(plan.messages.size(), "message", "messages") + ", " +
                       Counted(plan.bytes, "byte", "bytes") + ", about " +
                       SecondsText(plan.estimate) + ".";
    if (plan.wrongChecksums > 0) {
        text += '\n';
        text += Counted(static_cast<std::uint64_t>(plan.wrongChecksums), "message has",
                        "messages have");
        text += " a wrong checksum.";
    }
    return text;
}

Outcome PortCarries(const SendPlan& plan, const std::string& port, std::size_t maxMessageLength) {
    if (plan.longest <= maxMessageLength) {
        return Outcome::Success();
    }
    return Outcome::Failure("The dump's longest message has " + GroupedNumber(plan.longest) +
                            " bytes, but " + port + " carries at most " +
                            GroupedNumber(maxMessageLength) +
                            " bytes in one message; nothing was sent.");
}

SendOpening OpenForSend(MidiSystem& midi, const std::string& port, const SendPlan& plan) {
    SendOpening opening;
    auto output = midi.OpenOutput(port);
    if (!output) {
        opening.problem = CannotOpenText(port, output.reason());
        opening.portFailed = true;
    } else if (auto fits = PortCarries(plan, port, (*output)->MaxMessageLength()); !fits) {
        opening.problem = fits.reason();
    } else {
        opening.output = *std::move(output);
    }
    return opening;
}

SendSession::SendSession(MidiOutput& output, Clock& clock,
                         std::vector<std::span<const std::uint8_t>> messages, Duration pause)
    : output_(output), clock_(clock), messages_(std::move(messages)), pause_(pause) {
    for (const auto message : messages_) {
        bytesLeft_ += message.size();
    }
    ended_ = messages_.empty();
}

Instant SendSession::Step() {
    const Instant now = clock_.Now();
    lastStep_ = now;
    if (ended_) {
        return now;
    }
    if (cancelled_) {
        ended_ = true;
        return now;
    }
    if (started_ && now < nextStart_) {
        return nextStart_;
    }
    const auto message = messages_[sent_];
    if (const std::string broken = output_.Broken(); !broken.empty()) {
        failure_ = broken;
        ended_ = true;
        return now;
    }
    if (const Outcome result = output_.Send(message); !result.ok()) {
        failure_ = result.reason();
        ended_ = true;
        return now;
    }
    if (!started_) {
        started_ = true;
        firstSend_ = now;
    }
    // Some ports return at once and the message then takes its cable time (ALSA, JACK); others
    // return only once it is out (Windows). The message has left when both its cable time from
    // the call has passed and the port has returned; the pause counts from then.
    const Instant returned = clock_.Now();
    ++sent_;
    bytesSent_ += message.size();
    bytesLeft_ -= message.size();
    nextStart_ = std::max(now + CableTime(message.size()), returned) + pause_;
    ended_ = sent_ == messages_.size();
    return ended_ ? now : nextStart_;
}

bool SendSession::MayClosePort(Instant now) {
    if (!ended_ || now < LastMessageLeaves() || output_.HasDelivered() || sent_ == 0) {
        return ended_ && now >= LastMessageLeaves();
    }
    const std::string broken = output_.Broken();
    if (!broken.empty() || now >= LastMessageLeaves() + kDeliveryWait) {
        if (failure_.empty()) {
            failure_ =
                (broken.empty() ? std::string("the port held on to its last messages") : broken) +
                "; they may not have reached the W2";
        }
        return true;
    }
    return false;
}

Duration SendSession::TimeLeft() const {
    return CableTime(bytesLeft_) + pause_ * static_cast<std::int64_t>(messages_.size() - sent_);
}

std::string SendSession::ProgressText() const {
    return "Message " + std::to_string(sent_) + " of " + std::to_string(messages_.size()) +
           " \u00B7 " + GroupedNumber(bytesSent_) + " bytes sent \u00B7 about " +
           SecondsText(TimeLeft()) + " left";
}

std::string SendSession::SummaryText(const std::string& port) const {
    // A finished send ends when its last message has left the cable.
    const Instant last = sent_ == messages_.size() ? LastMessageLeaves() : lastStep_;
    const Duration took = started_ ? last - firstSend_ : Duration{};
    std::string text =
        "Sent " +
        (sent_ == messages_.size()
             ? Counted(sent_, "message", "messages")
             : std::to_string(sent_) + " of " + Counted(messages_.size(), "message", "messages")) +
        " to " + port + " in " + SecondsText(took);
    if (!failure_.empty()) {
        text += "; then the port failed: " + failure_;
    } else if (WasCancelled()) {
        text += " before the cancel";
    }
    return text;
}

}  // namespace korvel::midi

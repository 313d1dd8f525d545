#include "receive_session.h"

#include "sysex_message.h"

#include <algorithm>

namespace korvel::ui {

ReceiveSession::ReceiveSession(MidiInput& input, Clock& clock, Duration idleEnd, std::size_t limit)
    : input_(input), clock_(clock), idleEnd_(idleEnd), limit_(limit) {
    started_ = clock_.Now();
    lastByte_ = started_;
}

void ReceiveSession::Poll() {
    if (HasEnded()) {
        return;
    }
    incoming_.clear();
    input_.TakeBytes(incoming_);
    const Instant now = clock_.Now();
    // Real-time bytes are no part of what the W2 sends; they neither count nor keep it going.
    const auto realTime = [](std::uint8_t byte) { return byte >= 0xF8; };
    const std::size_t keptBefore = kept_.size();
    std::copy_if(incoming_.begin(), incoming_.end(), std::back_inserter(kept_),
                 [&realTime](std::uint8_t byte) { return !realTime(byte); });
    if (kept_.size() > limit_) {
        kept_.resize(limit_);  // the backup keeps what came up to the limit
        end_ = ReceiveEnd::tooLarge;
    }
    if (kept_.size() > keptBefore) {
        lastByte_ = now;
        const std::size_t before = assembler_.MessageCount();
        assembler_.Feed({kept_.data() + keptBefore, kept_.size() - keptBefore});
        Count(before);
        counts_.bytes = kept_.size();
    } else if (!kept_.empty() && now - lastByte_ >= idleEnd_) {
        end_ = ReceiveEnd::idle;
    }
}

void ReceiveSession::Count(std::size_t fromMessage) {
    const auto& spans = assembler_.Spans();
    for (std::size_t i = fromMessage; i < spans.size(); ++i) {
        const std::uint8_t* first = assembler_.Messages().data() + spans[i].offset;
        const std::uint8_t* last = first + spans[i].length - 1;
        const MessageClass message = ClassifyMessage(first, last);
        if (message.kind == MessageKind::pattern && !patternsSeen_[message.slot]) {
            patternsSeen_.set(static_cast<std::size_t>(message.slot));
            ++counts_.patterns;
        } else if (message.kind == MessageKind::playlist && !playlistsSeen_[message.slot]) {
            playlistsSeen_.set(static_cast<std::size_t>(message.slot));
            ++counts_.playlists;
        } else if (message.kind == MessageKind::typeThree) {
            counts_.type3 = true;
        }
        if (!HasValidChecksum(first, last)) {
            ++counts_.wrongChecksums;
        }
    }
}

void ReceiveSession::Finish() {
    if (!HasEnded()) {
        Poll();
        if (!HasEnded()) {
            end_ = ReceiveEnd::done;
        }
    }
}

void ReceiveSession::Cancel() {
    if (!HasEnded()) {
        Poll();
        end_ = ReceiveEnd::cancelled;
    }
}

bool ReceiveSession::ShowHint() {
    return kept_.empty() && clock_.Now() - started_ >= kReceiveHintAfter;
}

std::string GroupedNumber(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

std::string ReceiveSession::ProgressText() const {
    std::string text = "Patterns " + std::to_string(counts_.patterns) +
                       " of 384 \u00B7 Playlists " + std::to_string(counts_.playlists) +
                       " of 96 \u00B7 Type-3 message: " + (counts_.type3 ? "yes" : "no") +
                       " \u00B7 " + GroupedNumber(counts_.bytes) + " bytes";
    if (counts_.wrongChecksums > 0) {
        text += " \u00B7 " + std::to_string(counts_.wrongChecksums) +
                (counts_.wrongChecksums == 1 ? " wrong checksum" : " wrong checksums");
    }
    return text;
}

}  // namespace korvel::ui

#include "receive_session.h"

#include "count_text.h"
#include "dump_image.h"
#include "sysex_message.h"

#include <algorithm>

namespace korvel::midi {

std::string ReceiveLimitText() {
    return "The receive reached its limit of " + std::to_string(kReceiveLimitMiB) +
           " MiB and ended there.";
}

ReceiveSession::ReceiveSession(MidiInput& input, Clock& clock, Duration idleEnd, std::size_t limit)
    : input_(input), clock_(clock), idleEnd_(idleEnd), limit_(limit) {
    started_ = clock_.Now();
    lastByte_ = started_;
}

void ReceiveSession::Poll() {
    if (HasEnded()) {
        return;
    }
    // Asked before the bytes are taken: whatever reached the port before it broke is in them.
    const std::string broken = input_.Broken();
    std::vector<std::uint8_t> incoming;
    input_.TakeBytes(incoming);
    counts_.lostInput = counts_.lostInput || input_.HasLostInput();
    const Instant now = clock_.Now();
    const std::uint64_t keptBefore = assembler_.KeptSize();
    // Beyond the limit nothing more is taken; the backup keeps what came up to it.
    const std::size_t room = limit_ - static_cast<std::size_t>(keptBefore);
    if (incoming.size() > room) {
        incoming.resize(room);
        end_ = ReceiveEnd::tooLarge;
    }
    const std::size_t before = assembler_.MessageCount();
    assembler_.Feed(std::move(incoming));
    // What came before the port broke is kept; nothing more will come.
    if (!broken.empty() && end_ == ReceiveEnd::notYet) {
        broken_ = broken;
        end_ = ReceiveEnd::portBroken;
    }
    // Real-time bytes are no part of what the W2 sends; they neither count nor keep it going.
    if (assembler_.KeptSize() > keptBefore) {
        lastByte_ = now;
        Count(before);
        counts_.bytes = assembler_.KeptSize();
    } else if (!NothingArrived() && now - lastByte_ >= idleEnd_) {
        end_ = ReceiveEnd::idle;
    }
}

void ReceiveSession::Count(std::size_t fromMessage) {
    for (std::size_t i = fromMessage; i < assembler_.MessageCount(); ++i) {
        const std::vector<std::uint8_t> bytes = assembler_.Message(i);
        const std::uint8_t* first = bytes.data();
        const std::uint8_t* last = first + bytes.size() - 1;
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
    return NothingArrived() && clock_.Now() - started_ >= kReceiveHintAfter;
}

std::string ReceiveSession::ProgressText() const {
    std::string text = "Patterns " + std::to_string(counts_.patterns) + " of " +
                       std::to_string(kPatternSlotCount) + " \u00B7 Playlists " +
                       std::to_string(counts_.playlists) + " of " +
                       std::to_string(kPlaylistSlotCount) +
                       " \u00B7 Type-3 message: " + (counts_.type3 ? "yes" : "no") + " \u00B7 " +
                       GroupedNumber(counts_.bytes) + " bytes";
    if (counts_.wrongChecksums > 0) {
        text += " \u00B7 " + std::to_string(counts_.wrongChecksums) +
                (counts_.wrongChecksums == 1 ? " wrong checksum" : " wrong checksums");
    }
    if (counts_.lostInput) {
        text += std::string(" \u00B7 ") + kLostInputText;
    }
    if (!broken_.empty()) {
        text += " \u00B7 " + broken_;
    }
    return text;
}

std::string WhyNoBackup(const ReceiveSession* session, const std::string& keptIn) {
    if (session == nullptr || session->NothingArrived()) {
        return "nothing came from it";
    }
    if (keptIn.empty()) {
        return "what came could not be kept";
    }
    const std::string where = " (it is kept in " + keptIn + ")";
    if (!session->HoldsDumpMessage()) {
        return "what came holds no complete message of a W2 dump" + where;
    }
    if (!session->Broken().empty() || session->Counts().lostInput) {
        return "some of what came was lost" + where;
    }
    return {};
}

}  // namespace korvel::midi

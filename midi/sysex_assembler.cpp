#include "sysex_assembler.h"

#include "sysex_message.h"

#include <algorithm>

namespace korvel::midi {

namespace {

constexpr std::uint8_t kFirstRealTime = 0xF8;

}  // namespace

void SysExAssembler::Clear() {
    chunks_.clear();
    chunkStarts_.clear();
    realTime_.clear();
    spans_.clear();
    size_ = 0;
    inMessage_ = false;
    cutOff_ = 0;
}

void SysExAssembler::Feed(std::vector<std::uint8_t> piece) {
    if (piece.empty()) {
        return;
    }
    Scan(piece.data(), piece.size());
    chunkStarts_.push_back(size_);
    size_ += piece.size();
    chunks_.push_back(std::move(piece));
    if (inMessage_ && size_ - open_ > maxMessage_) {
        inMessage_ = false;
        ++cutOff_;
    }
}

// Only status bytes (those with the high bit set) matter to the assembling; one pass over the
// piece finds them all.
void SysExAssembler::Scan(const std::uint8_t* bytes, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t byte = bytes[i];
        if ((byte & 0x80) == 0) {
            continue;
        }
        const std::uint64_t at = size_ + i;
        if (byte >= kFirstRealTime) {
            realTime_.push_back(at);  // clock and active sensing may come anywhere
        } else if (byte == kSysExStart) {
            cutOff_ += inMessage_ ? 1 : 0;
            open_ = at;
            inMessage_ = true;
        } else if (byte == kSysExEnd && inMessage_) {
            spans_.push_back({open_, at});
            inMessage_ = false;
        }
        // Any other status byte is carried along inside a message, as in files.
    }
}

void SysExAssembler::CopyRange(std::uint64_t first, std::uint64_t last,
                               std::vector<std::uint8_t>& out) const {
    auto skip = std::lower_bound(realTime_.begin(), realTime_.end(), first);
    auto chunk =
        static_cast<std::size_t>(std::upper_bound(chunkStarts_.begin(), chunkStarts_.end(), first) -
                                 chunkStarts_.begin() - 1);
    for (std::uint64_t at = first; at <= last;) {
        const auto& bytes = chunks_[chunk];
        const std::uint64_t chunkEnd = chunkStarts_[chunk] + bytes.size();  // one past
        std::uint64_t runEnd = std::min(chunkEnd, last + 1);
        if (skip != realTime_.end() && *skip < runEnd) {
            runEnd = *skip;
        }
        const auto* data = bytes.data() + (at - chunkStarts_[chunk]);
        out.insert(out.end(), data, data + (runEnd - at));
        at = runEnd;
        if (skip != realTime_.end() && *skip == at) {
            ++at;
            ++skip;
        }
        if (at >= chunkEnd) {
            ++chunk;
        }
    }
}

std::vector<std::uint8_t> SysExAssembler::Kept() const {
    std::vector<std::uint8_t> kept;
    kept.reserve(KeptSize());
    if (size_ > 0) {
        CopyRange(0, size_ - 1, kept);
    }
    return kept;
}

std::vector<std::uint8_t> SysExAssembler::Message(std::size_t index) const {
    std::vector<std::uint8_t> message;
    CopyRange(spans_[index].first, spans_[index].last, message);
    return message;
}

std::vector<std::uint8_t> SysExAssembler::Messages() const {
    std::vector<std::uint8_t> messages;
    for (const auto& span : spans_) {
        CopyRange(span.first, span.last, messages);
    }
    return messages;
}

}  // namespace korvel::midi

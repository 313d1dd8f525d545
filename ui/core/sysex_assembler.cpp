#include "sysex_assembler.h"

#include "status_scan.h"

namespace korvel::ui {

namespace {

constexpr std::uint8_t kStart = 0xF0;
constexpr std::uint8_t kEnd = 0xF7;
constexpr std::uint8_t kFirstRealTime = 0xF8;

}  // namespace

void SysExAssembler::Start() {
    if (inMessage_) {
        Abandon();
        ++cutOff_;
    }
    current_ = messages_.size();
    messages_.push_back(kStart);
    inMessage_ = true;
}

void SysExAssembler::Finish() {
    messages_.push_back(kEnd);
    spans_.push_back({current_, messages_.size() - current_});
    complete_ = messages_.size();
    inMessage_ = false;
}

void SysExAssembler::Abandon() {
    messages_.resize(current_);
    inMessage_ = false;
}

void SysExAssembler::Feed(std::span<const std::uint8_t> bytes) {
    const std::uint8_t* p = bytes.data();
    const std::uint8_t* const end = p + bytes.size();
    while (p < end) {
        // Data bytes run up to the next status byte; inside a message they are taken in one go.
        const std::uint8_t* status = FindStatusByte(p, end);
        const std::uint8_t* runEnd = status != nullptr ? status : end;
        if (inMessage_) {
            messages_.insert(messages_.end(), p, runEnd);
            if (messages_.size() - current_ > maxMessage_) {
                Abandon();
                ++cutOff_;
            }
        } else {
            dropped_ += static_cast<std::size_t>(runEnd - p);
        }
        if (status == nullptr) {
            return;
        }
        const std::uint8_t byte = *status;
        p = status + 1;
        if (byte >= kFirstRealTime) {
            continue;  // clock and active sensing may come between any two bytes
        }
        if (byte == kStart) {
            Start();
        } else if (byte == kEnd && inMessage_) {
            Finish();
        } else if (inMessage_) {
            messages_.push_back(byte);  // a stray status byte is carried along, as in files
        } else {
            ++dropped_;
        }
    }
}

}  // namespace korvel::ui

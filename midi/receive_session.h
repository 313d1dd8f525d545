// One receive from the W2: the bytes a port delivers are kept, assembled into messages and
// counted, until a pause with no byte, Done, Cancel or the size limit ends it. Driven by polls
// and a clock, so it never waits itself.
#pragma once

#include "dump_image.h"

#include "midi_clock.h"
#include "midi_limits.h"
#include "midi_port.h"
#include "sysex_assembler.h"

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace korvel::midi {

// "The receive reached its limit of 16 MiB and ended there."
std::string ReceiveLimitText();
inline constexpr auto kDefaultReceiveIdle = std::chrono::milliseconds(kDefaultReceiveIdleMs);
inline constexpr const char* kLostInputText =
    "some of what came was lost: the system's input buffer ran over";

enum class ReceiveEnd { notYet, idle, done, cancelled, tooLarge, portBroken };

struct ReceiveCounts {
    int patterns = 0;   // distinct pattern positions
    int playlists = 0;  // distinct playlist positions
    bool type3 = false;
    std::uint64_t bytes = 0;
    int wrongChecksums = 0;
    bool lostInput = false;  // the system dropped some of what came
};

class ReceiveSession {
  public:
    ReceiveSession(MidiInput& input, Clock& clock, Duration idleEnd = kDefaultReceiveIdle,
                   std::size_t limit = kReceiveLimit);

    // Takes what the port has; ends the receive after the idle pause once bytes flow.
    void Poll();
    void Finish();  // Done: ends with what has come
    void Cancel();

    bool HasEnded() const { return end_ != ReceiveEnd::notYet; }
    ReceiveEnd End() const { return end_; }
    bool NothingArrived() const { return assembler_.KeptSize() == 0; }
    // At least one whole message of a W2 dump came: a pattern, a playlist or the type-3 one.
    bool HoldsDumpMessage() const {
        return counts_.patterns > 0 || counts_.playlists > 0 || counts_.type3;
    }
    // True while nothing has come for so long that the user should check the set-up.
    bool ShowHint();
    const ReceiveCounts& Counts() const { return counts_; }
    // "Patterns 123 of 384 · Playlists 40 of 96 · Type-3 message: yes · 57,344 bytes", and
    // the lost input when there was some.
    std::string ProgressText() const;

    // Why the port stopped delivering, when that ended the receive.
    const std::string& Broken() const { return broken_; }
    // Every byte received but real-time ones, as it came, for the backup.
    std::vector<std::uint8_t> Kept() const { return assembler_.Kept(); }
    // The complete messages in the order received.
    std::vector<std::uint8_t> Messages() const { return assembler_.Messages(); }

  private:
    void Count(std::size_t fromMessage);

    MidiInput& input_;
    Clock& clock_;
    Duration idleEnd_;
    std::size_t limit_;
    Instant started_;
    Instant lastByte_;
    ReceiveEnd end_ = ReceiveEnd::notYet;
    SysExAssembler assembler_;
    ReceiveCounts counts_;
    std::string broken_;
    std::bitset<kPatternSlotCount> patternsSeen_;
    std::bitset<kPlaylistSlotCount> playlistsSeen_;
};

// Before a send: whether the receive (none when no port opened), its bytes kept in `keptIn`
// (empty when they could not be written), is a whole backup of the W2's memory. Empty when it
// is, otherwise why not: "nothing came from it", "what came could not be kept", "what came
// holds no complete message of a W2 dump (it is kept in PATH)", "some of what came was lost
// (it is kept in PATH)". The window's and korvel-cli's backups before a send both ask here.
std::string WhyNoBackup(const ReceiveSession* session, const std::string& keptIn);

}  // namespace korvel::midi

// How the fixed pattern memory (3 groups x 8 tracks x 16 patterns) is divided into banks: 3, 6
// or 12 banks of 8 tracks with 16, 8 or 4 patterns per track.
#pragma once

#include <optional>

namespace korvel {

class MemoryLayout {
  public:
    // Twelve banks, as a fresh image has.
    constexpr MemoryLayout() = default;

    // Nullopt for anything but 3, 6 or 12 banks, or the choices 0, 1 and 2 that the Memory
    // Layout dialog and the settings exchange.
    static constexpr std::optional<MemoryLayout> FromBankCount(int banks) {
        if (banks == 3 || banks == 6 || banks == 12) {
            return MemoryLayout(banks);
        }
        return std::nullopt;
    }
    static constexpr std::optional<MemoryLayout> FromChoice(int choice) {
        return choice >= 0 && choice <= 2 ? FromBankCount(3 << choice) : std::nullopt;
    }

    constexpr int BankCount() const { return banks_; }
    constexpr int Choice() const { return banks_ == 3 ? 0 : banks_ == 6 ? 1 : 2; }
    constexpr int PatternsPerTrack() const { return 48 / banks_; }

    friend constexpr bool operator==(MemoryLayout, MemoryLayout) = default;

  private:
    constexpr explicit MemoryLayout(int banks) : banks_(banks) {}
    int banks_ = 12;
};

}  // namespace korvel

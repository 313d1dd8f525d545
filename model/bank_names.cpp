#include "bank_names.h"

#include <cstdio>

namespace korvel {

namespace {

std::string TwoDigits(int zeroBased) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", zeroBased + 1);
    return text;
}

}  // namespace

std::string VisibleBankText(const std::string& storedName) {
    return storedName.size() > 3 ? storedName.substr(3) : std::string();
}

std::string RenamedBankName(int bank, const std::string& text) {
    if (text.empty()) {
        return "Bank " + TwoDigits(bank);
    }
    return NumberedBankName(bank, text);
}

std::string NumberedBankName(int bank, const std::string& text) {
    return TwoDigits(bank) + " " + text;
}

std::string PatternProvenance(int bank, int track, int pattern) {
    return "B" + TwoDigits(bank) + " T" + TwoDigits(track) + " P" + TwoDigits(pattern);
}

std::string TrackProvenance(int bank, int track) {
    return "B" + TwoDigits(bank) + " T" + TwoDigits(track);
}

std::string PlaylistProvenance(int bank) {
    return "Playlist B" + TwoDigits(bank);
}

}  // namespace korvel

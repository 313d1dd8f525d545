#include "bank_names.h"

#include <cstdio>

namespace korvel {

namespace {

// printf-style formatting of one-based numbers into a short text.
template <typename... Numbers>
std::string Format(const char* format, Numbers... zeroBased) {
    char text[64];
    std::snprintf(text, sizeof text, format, (zeroBased + 1)...);
    return text;
}

}  // namespace

std::string VisibleBankText(const std::string& storedName) {
    return storedName.size() > 3 ? storedName.substr(3) : std::string();
}

std::string RenamedBankName(int bank, const std::string& text) {
    return text.empty() ? DefaultBankName(bank) : NumberedBankName(bank, text);
}

std::string DefaultBankName(int bank) {
    return Format("Bank %02d", bank);
}

std::string NumberedBankName(int bank, const std::string& text) {
    std::string name = Format("%02d ", bank);
    name.append(text);
    return name;
}

std::string PatternProvenance(int bank, int track, int pattern) {
    return Format("B%02d T%02d P%02d", bank, track, pattern);
}

std::string TrackProvenance(int bank, int track) {
    return Format("B%02d T%02d", bank, track);
}

std::string PlaylistProvenance(int bank) {
    return Format("Playlist B%02d", bank);
}

}  // namespace korvel

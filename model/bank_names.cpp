#include "bank_names.h"

#include <cstdio>

namespace korvel {

namespace {

// `prefix` and the one-based number as "%02d" writes it.
std::string Numbered(const char* prefix, int zeroBased) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", zeroBased + 1);
    return prefix + std::string(number);
}

}  // namespace

bool IsUnnamedForm(const std::string& storedName) {
    const auto digit = [&storedName](std::size_t i) {
        return storedName[i] >= '0' && storedName[i] <= '9';
    };
    return storedName.size() == 7 && storedName.compare(0, 5, "Bank ") == 0 && digit(5) && digit(6);
}

std::string VisibleBankText(const std::string& storedName) {
    if (storedName.size() <= 3 || IsUnnamedForm(storedName)) {
        return {};
    }
    return storedName.substr(3);
}

std::string RenamedBankName(int bank, const std::string& text) {
    return text.empty() ? DefaultBankName(bank) : NumberedBankName(bank, text);
}

std::string DefaultBankName(int bank) {
    return Numbered("Bank ", bank);
}

std::string NumberedBankName(int bank, const std::string& text) {
    std::string name = Numbered("", bank);
    name += ' ';
    name.append(text);
    return name;
}

std::string PatternProvenance(int bank, int track, int pattern) {
    return Numbered("B", bank) + Numbered(" T", track) + Numbered(" P", pattern);
}

std::string TrackProvenance(int bank, int track) {
    return Numbered("B", bank) + Numbered(" T", track);
}

std::string PlaylistProvenance(int bank) {
    return Numbered("Playlist B", bank);
}

}  // namespace korvel

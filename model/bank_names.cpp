#include "bank_names.h"

namespace korvel {

namespace {

// `prefix` and the one-based number as "%02d" writes it; built by hand, since a tree's outline
// takes two of these for every bank each time it is drawn.
void AppendNumber(std::string& text, const char* prefix, int zeroBased) {
    const int number = zeroBased + 1;
    text += prefix;
    if (number < 0 || number >= 100) {
        text += std::to_string(number);
        return;
    }
    text += static_cast<char>('0' + number / 10);
    text += static_cast<char>('0' + number % 10);
}

std::string Numbered(const char* prefix, int zeroBased) {
    std::string text;
    AppendNumber(text, prefix, zeroBased);
    return text;
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
    std::string text = Numbered("B", bank);
    AppendNumber(text, " T", track);
    AppendNumber(text, " P", pattern);
    return text;
}

std::string TrackProvenance(int bank, int track) {
    std::string text = Numbered("B", bank);
    AppendNumber(text, " T", track);
    return text;
}

std::string PlaylistProvenance(int bank) {
    return Numbered("Playlist B", bank);
}

}  // namespace korvel

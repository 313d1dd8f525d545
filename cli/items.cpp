#include "items.h"

#include <cctype>

namespace korvel::cli {

namespace {

// Reads a letter and one or two digits at `at`; the number is one-based in the text.
bool ReadPart(const std::string& text, std::size_t& at, char letter, int& number) {
    if (at >= text.size() || std::toupper(static_cast<unsigned char>(text[at])) != letter) {
        return false;
    }
    std::size_t digits = 0;
    number = 0;
    while (at + 1 + digits < text.size() && digits < 2 &&
           std::isdigit(static_cast<unsigned char>(text[at + 1 + digits]))) {
        number = number * 10 + (text[at + 1 + digits] - '0');
        ++digits;
    }
    if (digits == 0 || number == 0) {
        return false;
    }
    at += 1 + digits;
    number -= 1;
    return true;
}

}  // namespace

std::optional<Item> ParseItem(const std::string& text) {
    Item item;
    std::size_t at = 0;
    if (!ReadPart(text, at, 'B', item.bank)) {
        return std::nullopt;
    }
    item.kind = ItemKind::bank;
    if (at < text.size() && std::toupper(static_cast<unsigned char>(text[at])) == 'L') {
        item.kind = ItemKind::playlists;
        ++at;
    } else if (at < text.size()) {
        if (!ReadPart(text, at, 'T', item.track)) {
            return std::nullopt;
        }
        item.kind = ItemKind::track;
        if (at < text.size()) {
            if (!ReadPart(text, at, 'P', item.pattern)) {
                return std::nullopt;
            }
            item.kind = ItemKind::pattern;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    return item;
}

std::string ItemText(const Item& item) {
    const auto part = [](char letter, int zeroBased) {
        const int number = zeroBased + 1;
        return std::string(1, letter) + (number < 10 ? "0" : "") + std::to_string(number);
    };
    switch (item.kind) {
        case ItemKind::bank:
            return part('B', item.bank);
        case ItemKind::playlists:
            return part('B', item.bank) + "L";
        case ItemKind::track:
            return part('B', item.bank) + part('T', item.track);
        case ItemKind::pattern:
            return part('B', item.bank) + part('T', item.track) + part('P', item.pattern);
        case ItemKind::none:
            break;
    }
    return {};
}

std::string LayoutName(const DumpImage& image) {
    return std::to_string(image.BankCount()) + "-bank layout (" +
           std::to_string(image.PatternsPerTrack()) + " patterns per track)";
}

}  // namespace korvel::cli

#include "options.h"

namespace korvel::cli {

namespace {

std::optional<MemoryLayout> ParseLayout(const std::string& text) {
    for (const int banks : {3, 6, 12}) {
        if (text == std::to_string(banks)) {
            return MemoryLayout::FromBankCount(banks);
        }
    }
    return std::nullopt;
}

// A whole number from 0 to `max`, digits only.
std::optional<int> ParseCount(const std::string& text, int max) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value <= max ? std::optional(value) : std::nullopt;
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& words) {
    ParsedOptions parsed;
    Options& options = parsed.options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const auto value = [&](const char* name) -> std::optional<std::string> {
            if (i + 1 >= words.size()) {
                parsed.error = std::string(name) + " needs a value";
                return std::nullopt;
            }
            return words[++i];
        };
        if (word == "--help" || word == "-h") {
            options.help = true;
        } else if (word == "--json") {
            options.json = true;
        } else if (word == "--in-place") {
            options.inPlace = true;
        } else if (word == "--keep-partial") {
            options.keepPartial = true;
        } else if (word == "-o" || word == "--output") {
            options.output = value("-o");
        } else if (word == "--port") {
            options.port = value("--port");
        } else if (word == "--own-port") {
            options.ownPort = value("--own-port");
        } else if (word == "--pause" || word == "--idle" || word == "--wait") {
            const auto text = value(word.c_str());
            if (!text) {
                return parsed;
            }
            const auto number = ParseCount(*text, word == "--pause" ? 5000 : 24 * 3600 * 1000);
            if (!number) {
                parsed.error = word + " takes a whole number" +
                               (word == "--pause" ? " from 0 to 5000" : std::string()) + ", not " +
                               *text;
                return parsed;
            }
            (word == "--pause"  ? options.pauseMs
             : word == "--idle" ? options.idleMs
                                : options.waitSeconds) = number;
        } else if (word == "--layout" || word == "--src-layout" || word == "--dst-layout") {
            const auto text = value(word.c_str());
            if (!text) {
                return parsed;
            }
            const auto layout = ParseLayout(*text);
            if (!layout) {
                parsed.error = word + " takes 3, 6 or 12, not " + *text;
                return parsed;
            }
            (word == "--layout"       ? options.layout
             : word == "--src-layout" ? options.sourceLayout
                                      : options.destinationLayout) = layout;
        } else if (word.size() > 1 && word[0] == '-' && word != "-") {
            parsed.error = "unknown option " + word;
            return parsed;
        } else if (options.command.empty()) {
            options.command = word;
        } else {
            options.arguments.push_back(word);
        }
        if (!parsed.error.empty()) {
            return parsed;
        }
    }
    return parsed;
}

}  // namespace korvel::cli

#include "options.h"

#include "midi_limits.h"

namespace korvel::cli {

namespace {

struct Range {
    int min;
    int max;
    bool say;  // whether the message names the range
};

// --wait is for scripts; a day is longer than anyone waits for a dump.
constexpr int kLongestWaitSeconds = 24 * 3600;

std::optional<MemoryLayout> ParseLayout(const std::string& text) {
    for (const int banks : {3, 6, 12}) {
        if (text == std::to_string(banks)) {
            return MemoryLayout::FromBankCount(banks);
        }
    }
    return std::nullopt;
}

// A whole number from `min` to `max`, digits only.
std::optional<int> ParseCount(const std::string& text, int min, int max) {
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
    return value >= min && value <= max ? std::optional(value) : std::nullopt;
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
        if (word.size() > 1 && word[0] == '-' && word != "-") {
            options.given.push_back(word == "-o" ? "--output" : word == "-h" ? "--help" : word);
        }
        if (word == "--help" || word == "-h") {
            options.help = true;
        } else if (word == "--version") {
            options.version = true;
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
        } else if (word == "--backup") {
            options.backup = value("--backup");
        } else if (word == "--backup-first") {
            options.backupFirst = value("--backup-first");
        } else if (word == "--folder") {
            options.folder = value("--folder");
        } else if (word == "--own-port") {
            options.ownPort = value("--own-port");
        } else if (word == "--pause" || word == "--idle" || word == "--wait") {
            const auto text = value(word.c_str());
            if (!text) {
                return parsed;
            }
            const Range range =
                word == "--pause"  ? Range{midi::kMinMessagePauseMs, midi::kMaxMessagePauseMs, true}
                : word == "--idle" ? Range{midi::kMinReceiveIdleMs, midi::kMaxReceiveIdleMs, true}
                                   : Range{0, kLongestWaitSeconds, false};
            const auto number = ParseCount(*text, range.min, range.max);
            if (!number) {
                parsed.error = word + " takes a whole number" +
                               (range.say ? " from " + std::to_string(range.min) + " to " +
                                                std::to_string(range.max)
                                          : std::string()) +
                               ", not " + *text;
                return parsed;
            }
            (word == "--pause"  ? options.pauseMs
             : word == "--idle" ? options.idleMs
                                : options.waitSeconds) = number;
        } else if (word == "--layout" || word == "--src-layout" || word == "--dst-layout" ||
                   word == "--left-layout" || word == "--right-layout") {
            const auto text = value(word.c_str());
            if (!text) {
                return parsed;
            }
            const auto layout = ParseLayout(*text);
            if (!layout) {
                parsed.error = word + " takes 3, 6 or 12, not " + *text;
                return parsed;
            }
            (word == "--layout"                                  ? options.layout
             : word == "--src-layout" || word == "--left-layout" ? options.sourceLayout
                                                                 : options.destinationLayout) =
                layout;
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

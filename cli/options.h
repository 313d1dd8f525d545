// The command line: a command, its positional arguments and the options.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

struct Options {
    std::string command;
    std::vector<std::string> arguments;
    std::optional<int> layout;
    std::optional<int> sourceLayout;
    std::optional<int> destinationLayout;
    std::optional<std::string> output;
    bool inPlace = false;
    bool json = false;
    bool keepPartial = false;
    bool help = false;
};

struct [[nodiscard]] ParsedOptions {
    Options options;
    std::string error;  // empty when the command line was understood
};

ParsedOptions ParseOptions(const std::vector<std::string>& words);

}  // namespace korvel::cli

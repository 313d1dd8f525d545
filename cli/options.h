// The command line: a command, its positional arguments and the options.
#pragma once

#include "memory_layout.h"

#include <optional>
#include <string>
#include <vector>

namespace korvel::cli {

struct Options {
    std::string command;
    std::vector<std::string> arguments;
    std::optional<MemoryLayout> layout;
    // copy's source and destination, diff's left and right
    std::optional<MemoryLayout> sourceLayout;
    std::optional<MemoryLayout> destinationLayout;
    std::optional<std::string> output;
    bool inPlace = false;
    bool json = false;
    bool keepPartial = false;
    bool help = false;
    bool version = false;
    // MIDI: the port by number or a unique part of its name, or a port of our own.
    std::optional<std::string> port;
    std::optional<std::string> ownPort;
    std::optional<int> pauseMs;
    std::optional<int> idleMs;
    std::optional<int> waitSeconds;
    std::optional<std::string> backup;  // verify: where to keep what arrived
    // send: receive what the W2 holds into this file first
    std::optional<std::string> backupFirst;
    std::optional<std::string> folder;  // backups: the folder to list
    // The options given, each as its long name ("--output" for -o), for the command to check.
    std::vector<std::string> given;
};

struct [[nodiscard]] ParsedOptions {
    Options options;
    std::string error;  // empty when the command line was understood
};

ParsedOptions ParseOptions(const std::vector<std::string>& words);

}  // namespace korvel::cli

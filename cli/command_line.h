// What differs from system to system about the command line and the console: the words as
// UTF-8, as every file name in Korvel is, and how the console shows what is printed. One file
// per system (command_line_posix.cpp, command_line_windows.cpp) says how.
#pragma once

#include <string>
#include <vector>

namespace korvel::cli {

// The words after the program's name. On Windows they are read from the wide command line,
// since `argv` there is in the local code page and loses what that cannot spell.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes what is printed reach the console as the UTF-8 it is: on Windows the console reads
// bytes in its own code page unless told otherwise.
void PrintInUtf8();

// Whether the error stream is a terminal, where progress lines may be redrawn in place.
bool ErrorStreamIsTerminal();

// Ends the program with `code` once what it printed is out. On Windows the process ends
// without running the system libraries' clean-up: Wine's WinMM, once it has listed the MIDI
// ports, crashes there and the exit code is lost.
[[noreturn]] void EndWith(int code);

}  // namespace korvel::cli

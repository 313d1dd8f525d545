// Names are 8-bit texts in the model; these convert them for the screen and back.
#pragma once

#include <QString>

#include <string>

namespace korvel::qt {

// Decoded as the core decides for every stored name: strict UTF-8, otherwise Latin-1 (side
// files written on Windows).
QString ToDisplay(const std::string& bytes);
// What the user typed, as the bytes a name is stored in: UTF-8, or the ANSI code page on
// Windows, where side files are read by other programs that expect it.
std::string ToStored(const QString& text);

// File paths: the 8-bit form the model opens, in the system's encoding of file names.
std::string ToPath(const QString& path);
QString FromPath(const std::string& path);

}  // namespace korvel::qt

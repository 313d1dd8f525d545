// The one conversion between Qt's strings and the model's texts: names and paths are UTF-8 in
// the model on every system (the side file and the file layer take care of the system's own
// forms), so they are UTF-8 both ways here.
#pragma once

#include <QString>

#include <string>

namespace korvel::qt {

// Decoded as the model decides for every stored name: strict UTF-8, otherwise Latin-1 (side
// files written elsewhere in a code page).
QString ToDisplay(const std::string& bytes);
// What the user typed, as the model stores it.
std::string ToStored(const QString& text);

// File paths, as the model names them.
std::string ToPath(const QString& path);
QString FromPath(const std::string& path);

}  // namespace korvel::qt

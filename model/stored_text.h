// How a stored 8-bit name is shown: the window and korvel-cli decide it the same way.
#pragma once

#include <string>

namespace korvel {

// True for exactly the UTF-8 of RFC 3629: no overlong forms, no surrogates, nothing above
// U+10FFFF.
bool IsStrictUtf8(const std::string& bytes);

// The name as UTF-8: unchanged when it is strict UTF-8, otherwise read as Latin-1.
std::string StoredTextToUtf8(const std::string& bytes);

// The text as a JSON string, quotes included, read as StoredTextToUtf8 reads it: what
// korvel-cli prints and the browser's page reads.
std::string JsonString(const std::string& text);

}  // namespace korvel

// How a bank name is spelled in the side file. Names are UTF-8 in memory. On Windows side files
// are in the system's ANSI code page, as other programs there read and write them; elsewhere a
// line's bytes are the name.
#pragma once

#include <string>

namespace korvel {

// On Windows: a line that is UTF-8 stays as it is (written by Korvel on another system, or for a
// name the code page cannot spell); any other line is read in the ANSI code page.
std::string NameOfSideFileLine(const std::string& line);

// On Windows: the name in the ANSI code page, or as UTF-8 when the code page lacks one of its
// characters or when its spelling there would read back as UTF-8 (and so as another name), so
// that nothing typed is lost or changed.
std::string SideFileLineOfName(const std::string& name);

#if defined(_WIN32)
// The same in the code page given, so that other code pages than the system's can be tried.
std::string NameOfSideFileLineIn(unsigned codePage, const std::string& line);
std::string SideFileLineOfNameIn(unsigned codePage, const std::string& name);
#endif

}  // namespace korvel

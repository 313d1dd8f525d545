#include "side_file_text.h"

namespace korvel {

std::string NameOfSideFileLine(const std::string& line) {
    return line;
}

std::string SideFileLineOfName(const std::string& name) {
    return name;
}

}  // namespace korvel

#include "error_text.h"

#include <cstring>

namespace korvel {

std::string ErrorText(const std::error_code& error) {
    return error.message();
}

std::string ErrnoText(int error) {
    return std::strerror(error);
}

}  // namespace korvel

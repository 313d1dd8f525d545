// Words for a system error, as UTF-8. Windows gives its messages in the local code page, which
// would read as garbage beside the UTF-8 of names and paths.
#pragma once

#include <string>
#include <system_error>

namespace korvel {

std::string ErrorText(const std::error_code& error);
// For an errno value.
std::string ErrnoText(int error);

}  // namespace korvel

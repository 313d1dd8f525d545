// The icons and strip compiled into the program; loaded once before first use.
#pragma once

namespace korvel::qt {

void InitResources();

}  // namespace korvel::qt

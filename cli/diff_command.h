// korvel-cli diff: what differs between two dumps, item by item in the left dump's tree order.
#pragma once

#include "commands.h"

namespace korvel::cli {

int Diff(const Options& options, Streams streams);

}  // namespace korvel::cli

// korvel-cli backups: the backups of the W2's memory, newest first, with what changed since the
// one before each.
#pragma once

#include "commands.h"

namespace korvel::cli {

int Backups(const Options& options, Streams streams);

}  // namespace korvel::cli

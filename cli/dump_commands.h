// korvel-cli's commands on dump files: show, check, copy, delete, rename, write again.
#pragma once

#include "commands.h"

namespace korvel::cli {

int Tree(const Options& options, Streams streams);
int Check(const Options& options, Streams streams);
int Copy(const Options& options, Streams streams);
int Delete(const Options& options, Streams streams);
int Rename(const Options& options, Streams streams);
int Canon(const Options& options, Streams streams);

}  // namespace korvel::cli

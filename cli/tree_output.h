// Printing a dump's tree and load report as text or JSON.
#pragma once

#include "dump_image.h"

#include "dump_tree.h"

#include <iosfwd>
#include <string>

namespace korvel::cli {

void PrintTreeText(const ui::Forest& forest, const LoadReport& report, std::ostream& out);
void PrintTreeJson(const std::string& file, const DumpImage& image, const ui::Forest& forest,
                   const LoadReport& report, std::ostream& out);

}  // namespace korvel::cli

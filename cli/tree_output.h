// Printing a dump's tree and load report as text or JSON.
#pragma once

#include "dump_image.h"
#include "outline.h"
#include "stored_text.h"

#include <iosfwd>
#include <string>

namespace korvel::cli {

void PrintTreeText(const Outline& outline, const LoadReport& report, std::ostream& out);
void PrintTreeJson(const std::string& file, const DumpImage& image, const Outline& outline,
                   const LoadReport& report, std::ostream& out);

}  // namespace korvel::cli

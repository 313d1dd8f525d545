#include "tree_output.h"

#include "stored_text.h"

#include <cstdio>
#include <ostream>

namespace korvel::cli {

namespace {

void PrintNodeText(const OutlineNode& node, int depth, std::ostream& out) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << node.Text() << " ["
        << FillName(node.fill) << "]\n";
    for (const auto& child : node.children) {
        PrintNodeText(child, depth + 1, out);
    }
}

void PrintNodeJson(const OutlineNode& node, std::ostream& out) {
    out << "{\"text\":" << JsonString(node.Text()) << ",\"fill\":\"" << FillName(node.fill)
        << "\",\"tag\":" << ItemCode(node.item);
    if (!node.children.empty()) {
        out << ",\"children\":[";
        for (std::size_t i = 0; i < node.children.size(); ++i) {
            out << (i ? "," : "");
            PrintNodeJson(node.children[i], out);
        }
        out << "]";
    }
    out << "}";
}

}  // namespace

void PrintTreeText(const Outline& outline, const LoadReport& report, std::ostream& out) {
    for (const auto& bank : outline) {
        PrintNodeText(bank, 0, out);
    }
    out << "skipped: " << report.Total() << " message(s)\n";
    for (std::size_t r = 0; r < kSkipReasonCount; ++r) {
        if (report.counts[r] > 0) {
            out << "  " << report.counts[r] << " " << SkipReasonText(static_cast<SkipReason>(r))
                << "\n";
        }
    }
}

void PrintTreeJson(const std::string& file, const DumpImage& image, const Outline& outline,
                   const LoadReport& report, std::ostream& out) {
    out << "{\"file\":" << JsonString(file) << ",\"layout\":" << image.BankCount()
        << ",\"banks\":[";
    for (std::size_t i = 0; i < outline.size(); ++i) {
        out << (i ? "," : "");
        PrintNodeJson(outline[i], out);
    }
    out << "],\"skipped\":{";
    bool first = true;
    for (std::size_t r = 0; r < kSkipReasonCount; ++r) {
        if (report.counts[r] > 0) {
            out << (first ? "" : ",") << JsonString(SkipReasonText(static_cast<SkipReason>(r)))
                << ":" << report.counts[r];
            first = false;
        }
    }
    out << "}}\n";
}

}  // namespace korvel::cli

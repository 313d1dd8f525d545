#include "tree_output.h"

#include <cstdio>
#include <ostream>

namespace korvel::cli {

namespace {

const char* FillName(int icon) {
    switch (icon / 4) {
        case 0:
            return "empty";
        case 1:
            return "partial";
        default:
            return "full";
    }
}

bool IsValidUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (lead >= 0x80) {
            if ((lead & 0xE0) == 0xC0) {
                extra = 1;
            } else if ((lead & 0xF0) == 0xE0) {
                extra = 2;
            } else if ((lead & 0xF8) == 0xF0) {
                extra = 3;
            } else {
                return false;
            }
        }
        if (i + extra >= text.size() && extra > 0) {
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += 1 + extra;
    }
    return true;
}

// A JSON string; names that are not UTF-8 are taken as Latin-1, as the window shows them.
std::string JsonString(const std::string& text) {
    const bool utf8 = IsValidUtf8(text);
    std::string json = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        char escape[8];
        if (c == '"' || c == '\\') {
            json += '\\';
            json += ch;
        } else if (c < 0x20 || (c >= 0x80 && !utf8)) {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            json += escape;
        } else {
            json += ch;
        }
    }
    return json + "\"";
}

void PrintNodeText(const ui::TreeNode& node, int depth, std::ostream& out) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << node.text << " ["
        << FillName(node.icon) << "]\n";
    for (const auto& child : node.children) {
        PrintNodeText(child, depth + 1, out);
    }
}

void PrintNodeJson(const ui::TreeNode& node, std::ostream& out) {
    out << "{\"text\":" << JsonString(node.text) << ",\"fill\":\"" << FillName(node.icon)
        << "\",\"tag\":" << node.tag;
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

void PrintTreeText(const ui::Forest& forest, const LoadReport& report, std::ostream& out) {
    for (const auto& bank : forest) {
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

void PrintTreeJson(const std::string& file, const DumpImage& image, const ui::Forest& forest,
                   const LoadReport& report, std::ostream& out) {
    out << "{\"file\":" << JsonString(file) << ",\"layout\":" << image.layout << ",\"banks\":[";
    for (std::size_t i = 0; i < forest.size(); ++i) {
        out << (i ? "," : "");
        PrintNodeJson(forest[i], out);
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

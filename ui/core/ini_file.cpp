#include "ini_file.h"

#include "atomic_file.h"
#include "file_read.h"

#include <cctype>
#include <charconv>

namespace korvel::ui {

namespace {

// Far more than four settings and a few sections could ever need.
constexpr std::uint64_t kMaxSettingsSize = 1024 * 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) {
        ++first;
    }
    while (last > first && IsBlank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

// Section and key names compare without regard to case, as INI files always have.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool IsSectionLine(const std::string& line, std::string* name) {
    const std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') {
        return false;
    }
    if (name != nullptr) {
        *name = Trim(trimmed.substr(1, trimmed.size() - 2));
    }
    return true;
}

// A value is stored after "key=" as it stands; only a value that begins or ends with a blank
// or a quote is put in quotes, so that reading it back keeps those characters.
std::string EncodeValue(const std::string& value) {
    if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                           value.front() == '"' || value.back() == '"')) {
        return '"' + value + '"';
    }
    return value;
}

std::string DecodeValue(const std::string& raw) {
    std::size_t first = 0;
    while (first < raw.size() && IsBlank(raw[first])) {
        ++first;
    }
    std::string value = raw.substr(first);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    // Blanks a person typed before a line's end are not part of the value.
    while (!value.empty() && IsBlank(value.back())) {
        value.pop_back();
    }
    return value;
}

}  // namespace

void IniFile::Load(const std::string& path) {
    // A FIFO, a device or a folder in its place is a missing file: the defaults apply.
    const FileReadResult read = ReadRegularFile(path, kMaxSettingsSize);
    if (!read.ok()) {
        lines_.clear();
        return;
    }
    Parse(std::string(reinterpret_cast<const char*>(read.bytes.get()), read.size));
}

void IniFile::Parse(const std::string& text) {
    lines_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines_.push_back(std::move(line));
        start = end + 1;
    }
}

std::string IniFile::Text() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += '\n';
    }
    return text;
}

Outcome IniFile::Save(const std::string& path) const {
    const std::string text = Text();
    return ReplaceFileWithBytes(path,
                                {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

int IniFile::FindKey(const std::string& section, const std::string& key, int& sectionEnd) const {
    sectionEnd = -1;
    bool inSection = false;
    std::string name;
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        const std::string& line = lines_[static_cast<std::size_t>(i)];
        if (IsSectionLine(line, &name)) {
            inSection = SameName(name, section);
            if (inSection) {
                sectionEnd = i + 1;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') {
            continue;
        }
        sectionEnd = i + 1;
        const auto equals = line.find('=');
        if (equals != std::string::npos && SameName(Trim(line.substr(0, equals)), key)) {
            return i;
        }
    }
    return -1;
}

std::string IniFile::GetString(const std::string& section, const std::string& key,
                               const std::string& fallback) {
    int sectionEnd = 0;
    const int at = FindKey(section, key, sectionEnd);
    if (at < 0) {
        return fallback;
    }
    const std::string& line = lines_[static_cast<std::size_t>(at)];
    return DecodeValue(line.substr(line.find('=') + 1));
}

int IniFile::GetInt(const std::string& section, const std::string& key, int fallback) {
    const std::string text = Trim(GetString(section, key, ""));
    int value = 0;
    const char* first = text.data();
    if (!text.empty() && text.front() == '+') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    // An empty or non-numeric value counts as missing; a leading number is taken as it is.
    if (error != std::errc() || end == first) {
        return fallback;
    }
    return value;
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
    // A line break would split the entry in two; it cannot be kept in an INI line.
    std::string clean = value;
    for (char& c : clean) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    const std::string line = key + "=" + EncodeValue(clean);
    int sectionEnd = 0;
    const int at = FindKey(section, key, sectionEnd);
    if (at >= 0) {
        lines_[static_cast<std::size_t>(at)] = line;
    } else if (sectionEnd >= 0) {
        lines_.insert(lines_.begin() + sectionEnd, line);
    } else {
        lines_.push_back("[" + section + "]");
        lines_.push_back(line);
    }
}

void IniFile::WriteInt(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

}  // namespace korvel::ui

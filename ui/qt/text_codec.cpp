#include "text_codec.h"

#include "stored_text.h"

#include <algorithm>

namespace korvel::qt {

QString ToDisplay(const std::string& bytes) {
    // Most names are plain ASCII, which every reading agrees on; that path is much cheaper.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; })) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return QString::fromStdString(StoredTextToUtf8(bytes));
}

std::string ToStored(const QString& text) {
    return text.toStdString();
}

std::string ToPath(const QString& path) {
    return path.toStdString();
}

QString FromPath(const std::string& path) {
    return QString::fromStdString(StoredTextToUtf8(path));
}

}  // namespace korvel::qt

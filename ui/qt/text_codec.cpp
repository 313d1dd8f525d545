#include "text_codec.h"

#include <QStringDecoder>

#include <algorithm>

namespace korvel::qt {

QString ToDisplay(const std::string& bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    // Most names are plain ASCII, which both readings agree on; that path is much cheaper.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; })) {
        return QString::fromLatin1(view);
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(view);
    if (decoder.hasError()) {
        return QString::fromLatin1(view);
    }
    return text;
}

std::string ToStored(const QString& text) {
#if defined(Q_OS_WIN)
    return text.toLocal8Bit().toStdString();
#else
    return text.toUtf8().toStdString();
#endif
}

}  // namespace korvel::qt

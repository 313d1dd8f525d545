#include "text_codec.h"

#include <QStringDecoder>

namespace korvel::qt {

QString ToDisplay(const std::string& bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
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

// Draws the hicolor theme's icons from the one picture Korvel has, its window icon: PNGs of
// the usual sizes, and a scalable SVG whose squares are the picture's pixels.
// Usage: korvel-icon-export PICTURE OUTPUT_FOLDER
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

#include <cstdio>

namespace {

bool WritePng(const QImage& picture, int size, const QString& folder) {
    // Whole multiples keep the pixels sharp; other sizes are scaled smoothly.
    const auto mode =
        size % picture.width() == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
    return QDir().mkpath(dir) && picture.scaled(size, size, Qt::IgnoreAspectRatio, mode)
                                     .save(dir + QStringLiteral("/korvel.png"));
}

bool WriteSvg(const QImage& picture, const QString& folder) {
    const QString dir = folder + QStringLiteral("/scalable/apps");
    QFile file(dir + QStringLiteral("/korvel.svg"));
    if (!QDir().mkpath(dir) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QTextStream out(&file);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << picture.width() << ' '
        << picture.height() << "\" shape-rendering=\"crispEdges\">\n";
    // One rectangle for each run of equal pixels in a row.
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width();) {
            const QRgb colour = picture.pixel(x, y);
            int run = 1;
            while (x + run < picture.width() && picture.pixel(x + run, y) == colour) {
                ++run;
            }
            if (qAlpha(colour) > 0) {
                out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << run
                    << "\" height=\"1\" fill=\"#"
                    << QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    << "\"/>\n";
            }
            x += run;
        }
    }
    out << "</svg>\n";
    return out.status() == QTextStream::Ok;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: korvel-icon-export PICTURE OUTPUT_FOLDER\n");
        return 2;
    }
    const QImage picture =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull()) {
        std::fprintf(stderr, "korvel-icon-export: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        if (!WritePng(picture, size, folder)) {
            std::fprintf(stderr, "korvel-icon-export: cannot write the %d pixel icon\n", size);
            return 1;
        }
    }
    return WriteSvg(picture, folder) ? 0 : 1;
}

#include "resources/picturefile.h"

#include "resources/bitmapfile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace ui {

namespace {

// A plain bitmap read without Qt's reader; null when the file is of another kind.
QImage readPlainBitmap(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The compiled-in pictures are stored uncompressed and map without a copy.
    if (const uchar* mapped = file.map(0, file.size()))
        return decodePlainBitmap(QByteArrayView(mapped, file.size()));
    return decodePlainBitmap(file.readAll());
}

} // namespace

QPixmap readPicture(const QString& path) {
    const QByteArray format = QFileInfo(path).suffix().toLatin1().toLower();
    if (format == "bmp") {
        if (QImage plain = readPlainBitmap(path); !plain.isNull())
            return QPixmap::fromImage(std::move(plain));
    }
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon readIcon(const QString& stem, std::initializer_list<int> sizes) {
    QIcon icon;
    for (int size : sizes)
        icon.addPixmap(
            readPicture(stem + QLatin1Char('-') + QString::number(size) + QStringLiteral(".png")));
    return icon;
}

} // namespace ui

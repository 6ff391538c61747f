#include "resources/picturefile.h"

#include <QFileInfo>
#include <QImageReader>

namespace ui {

QPixmap readPicture(const QString& path) {
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1().toLower());
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

// One generated file: its plain name in the output folder and its bytes.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace picgen {

struct OutputFile {
    QString name;
    QByteArray bytes;
};

using OutputFiles = std::vector<OutputFile>;

// PNG bytes of an image.
QByteArray encodePng(const QImage& image);

} // namespace picgen

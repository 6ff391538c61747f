// The common case of a Windows bitmap, read straight into an image: 24 bits a
// pixel, uncompressed, rows bottom-up. Qt's own reader converts such a file
// pixel by pixel through its colour masks, which made the map behind the canvas
// the dearest single step of start-up; this one copies rows.
#pragma once

#include <QByteArrayView>
#include <QImage>

namespace ui {

// The picture in these bytes when they are a bitmap of that plain kind, in the
// format Qt's reader gives (Format_RGB32, with the file's resolution); a null
// image for every other file, which is left to Qt's reader.
QImage decodePlainBitmap(QByteArrayView bytes);

} // namespace ui

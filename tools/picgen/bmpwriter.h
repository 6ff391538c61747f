// Uncompressed 24-bit Windows bitmaps, written byte by byte so that the layout is fixed.
#pragma once

#include <QByteArray>
#include <QImage>

namespace picgen {

// Encodes the image as a Windows bitmap: "BM" file header, 40-byte information header,
// 24 bits per pixel, no compression, rows bottom-up and padded to 4 bytes, pixel data at
// offset 54. `trailingBytes` zero bytes follow the pixel data; both size fields count them.
QByteArray encodeBmp24(const QImage& image, int trailingBytes = 0);

} // namespace picgen

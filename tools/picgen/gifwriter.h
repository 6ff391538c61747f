// Single-image GIF89a files with a global colour table and LZW-compressed pixels.
#pragma once

#include <QByteArray>
#include <QImage>

namespace picgen {

// Encodes an indexed image (QImage::Format_Indexed8) as "GIF89a" with one image.
// The image's colour table becomes the global colour table; it must hold 2, 4, 8, ...
// or 256 entries. A graphic control extension names `transparentIndex` as the
// transparent colour (pass -1 for none).
QByteArray encodeGif(const QImage& indexed, int transparentIndex);

// LZW code stream of GIF image data (without the sub-block framing).
QByteArray lzwEncode(const QImage& indexed, int minCodeSize);

} // namespace picgen

// The PNG encoding of the rendered views.
#pragma once

#include <QByteArray>
#include <QImage>

namespace cli {

// The picture as the bytes of a PNG file, 8 bits per channel, with an alpha channel
// only when the picture has one; empty when it could not be encoded.
QByteArray encodePng(const QImage& picture);

} // namespace cli

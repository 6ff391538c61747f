// The picture files that tessel --render writes: their format, the targets it refuses,
// and the write itself, made as safely as that of the layout files.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

namespace cli {

enum class PictureFormat { Png, Bmp };

// The format that the ending of `path` names: ".png" or ".bmp", in any case; nothing for
// every other ending.
std::optional<PictureFormat> pictureFormatOf(const QByteArray& path);

// The picture as the bytes of a file in that format: a PNG, or a 24-bit BMP (without the
// alpha channel); empty when it could not be encoded.
QByteArray encodePicture(const QImage& picture, PictureFormat format);

// Why a render must not write `target`, or nothing when it may: the name reaches
// something that is no regular file (a folder, a device, a pipe), or one of the layout
// files of the skin in `folder`, also through links.
QString refusalOf(const QByteArray& target, const QByteArray& folder);

// Writes `bytes` as the file `target` the way the layout files are written: into a
// temporary file beside it, renamed over it once complete. What went wrong, or nothing;
// after a failure the target is as it was.
QString writePictureFile(const QByteArray& target, const QByteArray& bytes);

} // namespace cli

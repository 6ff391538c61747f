#include "bmpwriter.h"

#include <cstdint>

namespace picgen {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 3780; // 96 dots per inch

void put16(QByteArray& out, std::uint16_t value) {
    out.append(char(value & 0xff));
    out.append(char(value >> 8));
}

void put32(QByteArray& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((value >> shift) & 0xff));
}

} // namespace

QByteArray encodeBmp24(const QImage& image, int trailingBytes) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int height = rgb.height();
    const int rowSize = (width * 3 + 3) / 4 * 4;
    const std::uint32_t dataSize = std::uint32_t(rowSize) * height + trailingBytes;
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    QByteArray out;
    out.reserve(int(offset + dataSize));
    out.append("BM");
    put32(out, offset + dataSize);
    put32(out, 0); // two reserved words
    put32(out, offset);

    put32(out, kInfoHeaderSize);
    put32(out, std::uint32_t(width));
    put32(out, std::uint32_t(height)); // positive height: bottom-up rows
    put16(out, 1);                     // planes
    put16(out, 24);                    // bits per pixel
    put32(out, 0);                     // no compression
    put32(out, dataSize);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0); // colours used: none, no colour table
    put32(out, 0); // important colours

    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
        }
        out.append(rowSize - width * 3, '\0');
    }
    out.append(trailingBytes, '\0');
    return out;
}

} // namespace picgen

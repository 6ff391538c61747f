#include "resources/bitmapfile.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace ui {

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40; // BITMAPINFOHEADER
constexpr qsizetype kHeadersSize = kFileHeaderSize + kInfoHeaderSize;

std::uint32_t le16(const uchar* at) {
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8;
}

std::uint32_t le32(const uchar* at) {
    return le16(at) | le16(at + 2) << 16;
}

std::uint32_t word(const uchar* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// One row of blue, green, red triples as opaque pixels. Four pixels are three words
// of the file: on a little-endian machine a pixel's bytes lie as in the file.
void convertRow(const uchar* source, QRgb* target, int width) {
    constexpr QRgb opaque = 0xff000000;
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 4 <= width; x += 4, source += 12) {
            const std::uint32_t a = word(source);
            const std::uint32_t b = word(source + 4);
            const std::uint32_t c = word(source + 8);
            target[x] = opaque | (a & 0xffffff);
            target[x + 1] = opaque | a >> 24 | (b & 0xffff) << 8;
            target[x + 2] = opaque | b >> 16 | (c & 0xff) << 16;
            target[x + 3] = opaque | c >> 8;
        }
    }
    for (; x < width; ++x, source += 3)
        target[x] = qRgb(source[2], source[1], source[0]);
}

std::int32_t le32Signed(const uchar* at) {
    const std::uint32_t value = le32(at);
    std::int32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

} // namespace

QImage decodePlainBitmap(QByteArrayView bytes) {
    if (bytes.size() < kHeadersSize)
        return {};
    const auto* data = reinterpret_cast<const uchar*>(bytes.data());
    if (data[0] != 'B' || data[1] != 'M')
        return {};
    const std::uint32_t pixelsAt = le32(data + 10);
    const uchar* info = data + kFileHeaderSize;
    const std::int32_t width = le32Signed(info + 4);
    const std::int32_t height = le32Signed(info + 8); // positive: bottom-up
    if (le32(info) != kInfoHeaderSize || le16(info + 12) != 1 || le16(info + 14) != 24 ||
        le32(info + 16) != 0 /* BI_RGB */ || width <= 0 || height <= 0 || width > 32767 ||
        height > 32767 || pixelsAt < kHeadersSize)
        return {};
    const qsizetype stride = (qsizetype(width) * 3 + 3) & ~qsizetype(3);
    if (qsizetype(pixelsAt) > bytes.size() || (bytes.size() - pixelsAt) / stride < height)
        return {};

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < height; ++y) {
        convertRow(data + pixelsAt + qsizetype(height - 1 - y) * stride,
                   reinterpret_cast<QRgb*>(image.scanLine(y)), width);
    }
    image.setDotsPerMeterX(le32Signed(info + 24));
    image.setDotsPerMeterY(le32Signed(info + 28));
    return image;
}

} // namespace ui

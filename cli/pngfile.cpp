#include "cli/pngfile.h"

#ifdef TESSEL_HAVE_LIBPNG
#include <csetjmp>
#include <png.h>
#else
#include <QBuffer>
#endif

namespace cli {

#ifdef TESSEL_HAVE_LIBPNG

namespace {

void appendTo(png_structp png, png_bytep data, png_size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void noFlush(png_structp) {}

// libpng reports errors by a long jump back into this function, so it holds nothing
// with a destructor: the bytes live in the caller.
bool encodeInto(QByteArray& bytes, const QImage& rows, bool alpha) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &bytes, appendTo, noFlush);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rows.width()),
                 static_cast<png_uint_32>(rows.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (int y = 0; y < rows.height(); ++y)
        png_write_row(png, rows.constScanLine(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

// Written straight through libpng: rows unfiltered and the fastest compression. A
// render is a whole process of a few milliseconds, and trying every row filter, as
// Qt's own writer does, costs more than drawing the canvas; the files come out no
// larger for pictures like these.
QByteArray encodePng(const QImage& picture) {
    const bool alpha = picture.hasAlphaChannel();
    const QImage rows =
        picture.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    QByteArray bytes;
    if (!encodeInto(bytes, rows, alpha))
        return {};
    return bytes;
}

#else

QByteArray encodePng(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    constexpr int kFastCompression = 80;
    if (!picture.save(&buffer, "PNG", kFastCompression))
        return {};
    return bytes;
}

#endif

} // namespace cli

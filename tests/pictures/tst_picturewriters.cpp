// The generator's own bitmap and GIF writers: what they write must read back pixel-exact.

#include "bmpwriter.h"
#include "gifwriter.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <QtTest>

namespace {

quint32 le32(const QByteArray& bytes, int at) {
    return quint32(uchar(bytes[at])) | quint32(uchar(bytes[at + 1])) << 8 |
           quint32(uchar(bytes[at + 2])) << 16 | quint32(uchar(bytes[at + 3])) << 24;
}

QImage noiseImage(int width, int height, quint32 seed) {
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xff000000u | random.bounded(0x1000000u));
    return image;
}

// An indexed picture whose pixels run through the palette in one of a few patterns.
enum class Pattern { Noise, Flat, Stripes, Ramp };

QImage indexedImage(int width, int height, int colours, Pattern pattern) {
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table.append(qRgb(i * 37 % 256, i * 91 % 256, 255 - i));
    image.setColorTable(table);
    QRandomGenerator random(quint32(width * 7919 + height * 31 + colours));
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            switch (pattern) {
            case Pattern::Noise:
                line[x] = uchar(random.bounded(colours));
                break;
            case Pattern::Flat:
                line[x] = uchar(colours - 1);
                break;
            case Pattern::Stripes:
                line[x] = uchar((x / 3 + y) % colours);
                break;
            case Pattern::Ramp:
                line[x] = uchar((x * y) % colours);
                break;
            }
        }
    }
    return image;
}

} // namespace

class TestPictureWriters : public QObject {
    Q_OBJECT

private slots:
    void bitmapReadsBack_data();
    void bitmapReadsBack();
    void gifReadsBack_data();
    void gifReadsBack();
    void gifTransparencyIsDeclared();
};

void TestPictureWriters::bitmapReadsBack_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("trailing");

    // Widths 1 to 4 need 3, 2, 1 and 0 padding bytes per row.
    QTest::newRow("1x1") << 1 << 1 << 0;
    QTest::newRow("2x3") << 2 << 3 << 0;
    QTest::newRow("3x5") << 3 << 5 << 0;
    QTest::newRow("4x2") << 4 << 2 << 0;
    QTest::newRow("25x105") << 25 << 105 << 0;
    QTest::newRow("238x18 with two extra bytes") << 238 << 18 << 2;
    QTest::newRow("58x58 with two extra bytes") << 58 << 58 << 2;
}

void TestPictureWriters::bitmapReadsBack() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, trailing);

    const QImage original = noiseImage(width, height, quint32(width * 1000 + height));
    const QByteArray bytes = picgen::encodeBmp24(original, trailing);

    const int rowSize = (width * 3 + 3) / 4 * 4;
    QCOMPARE(bytes.size(), 54 + rowSize * height + trailing);
    QCOMPARE(le32(bytes, 2), quint32(bytes.size()));
    QCOMPARE(le32(bytes, 34), quint32(rowSize * height + trailing));

    const QImage decoded = QImage::fromData(bytes, "BMP");
    QCOMPARE(decoded.size(), original.size());
    QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), original);
    // bottom-up: the file's first row is the picture's last
    const QRgb lastRowFirstPixel = original.pixel(0, height - 1);
    QCOMPARE(uchar(bytes[54]), uchar(qBlue(lastRowFirstPixel)));
    QCOMPARE(uchar(bytes[56]), uchar(qRed(lastRowFirstPixel)));
}

void TestPictureWriters::gifReadsBack_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("colours");
    QTest::addColumn<Pattern>("pattern");

    QTest::newRow("single pixel") << 1 << 1 << 2 << Pattern::Flat;
    QTest::newRow("two colours, noise") << 64 << 64 << 2 << Pattern::Noise;
    QTest::newRow("four colours, dummy size") << 277 << 29 << 4 << Pattern::Stripes;
    QTest::newRow("four colours, flat") << 277 << 29 << 4 << Pattern::Flat;
    QTest::newRow("16 colours, ramp") << 123 << 77 << 16 << Pattern::Ramp;
    // enough distinct strings to fill the 4096-entry table and restart it
    QTest::newRow("256 colours, noise") << 300 << 200 << 256 << Pattern::Noise;
    QTest::newRow("4 colours, long noise") << 500 << 400 << 4 << Pattern::Noise;
}

void TestPictureWriters::gifReadsBack() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, colours);
    QFETCH(Pattern, pattern);

    const QImage original = indexedImage(width, height, colours, pattern);
    const QByteArray bytes = picgen::encodeGif(original, -1);
    QVERIFY(bytes.startsWith("GIF89a"));
    QCOMPARE(uchar(bytes.back()), uchar(0x3b));

    const QImage decoded = QImage::fromData(bytes, "GIF");
    QVERIFY(!decoded.isNull());
    QCOMPARE(decoded.size(), original.size());
    const QImage expected = original.convertToFormat(QImage::Format_ARGB32);
    const QImage actual = decoded.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
}

void TestPictureWriters::gifTransparencyIsDeclared() {
    QImage image = indexedImage(8, 4, 4, Pattern::Stripes);
    const QByteArray bytes = picgen::encodeGif(image, 2);
    // header, screen descriptor, 4-entry table: the control extension follows at 25
    const int extension = 6 + 7 + 4 * 3;
    QCOMPARE(bytes.mid(extension, 3), QByteArray("\x21\xf9\x04", 3));
    QCOMPARE(uchar(bytes[extension + 3]) & 0x01, 0x01);
    QCOMPARE(uchar(bytes[extension + 6]), uchar(2));

    const QImage decoded = QImage::fromData(bytes, "GIF").convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(qAlpha(decoded.pixel(x, y)), image.pixelIndex(x, y) == 2 ? 0 : 255);
}

QTEST_GUILESS_MAIN(TestPictureWriters)
#include "tst_picturewriters.moc"

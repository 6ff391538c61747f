// The fast bitmap reader against Qt's own: the same picture, pixel for pixel, for
// every bitmap it takes, and nothing at all for the bitmaps it leaves to Qt.

#include "resources/bitmapfile.h"
#include "resources/picturefile.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QImage qtRead(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "bmp");
    return reader.read();
}

QByteArray savedBitmap(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 37 % 256, y * 59 % 256, (x + y) * 11 % 256));
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(3780);
    return image;
}

} // namespace

class TstBitmapFile : public QObject {
    Q_OBJECT
private slots:
    void sameAsQt_data();
    void sameAsQt();
    void leftToQt_data();
    void leftToQt();
};

void TstBitmapFile::sameAsQt_data() {
    QTest::addColumn<QByteArray>("bytes");
    // Odd widths have padded rows; pixels are taken four at a time, and the rest.
    for (const QSize size : {QSize(5, 3), QSize(6, 2), QSize(3, 2), QSize(7, 2), QSize(8, 1)})
        QTest::addRow("%dx%d", size.width(), size.height())
            << savedBitmap(pattern(size.width(), size.height()));
    const QDir pictures(QStringLiteral(":/pictures"));
    for (const QString& name : pictures.entryList({QStringLiteral("*.bmp")})) {
        QFile file(pictures.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(name)) << file.readAll();
    }
}

void TstBitmapFile::sameAsQt() {
    QFETCH(QByteArray, bytes);
    const QImage expected = qtRead(bytes);
    QVERIFY(!expected.isNull());
    const QImage image = ui::decodePlainBitmap(bytes);
    QCOMPARE(image.format(), expected.format());
    QCOMPARE(image.size(), expected.size());
    QCOMPARE(QPoint(image.dotsPerMeterX(), image.dotsPerMeterY()),
             QPoint(expected.dotsPerMeterX(), expected.dotsPerMeterY()));
    QVERIFY(image == expected);
}

void TstBitmapFile::leftToQt_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable"); // whole enough for Qt to read
    const QByteArray plain = savedBitmap(pattern(5, 3));
    const auto changed = [&plain](int at, qint32 value) {
        QByteArray bytes = plain;
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char(quint32(value) >> (8 * i));
        return bytes;
    };
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("last row short") << plain.left(plain.size() - 1) << false;
    QTest::newRow("pixels beyond the end") << changed(10, plain.size() + 1) << false;
    QTest::newRow("no BM") << QByteArray("XM" + plain.mid(2)) << false;
    QTest::newRow("32 bits") << changed(28, 32) << false;
    QTest::newRow("compressed") << changed(30, 1) << false;
    QTest::newRow("top-down") << changed(22, -3) << true;
    QTest::newRow("8 bits") << savedBitmap(pattern(5, 3).convertToFormat(QImage::Format_Indexed8))
                            << true;
}

void TstBitmapFile::leftToQt() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QVERIFY(ui::decodePlainBitmap(bytes).isNull());
    if (!readable)
        return;

    // What the fast reader leaves alone still reads as Qt reads it.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("picture.bmp")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QCOMPARE(ui::readPicture(file.fileName()).toImage(),
             QPixmap::fromImage(qtRead(bytes)).toImage());
}

QTEST_MAIN(TstBitmapFile)
#include "tst_bitmapfile.moc"

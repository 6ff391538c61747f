// The pictures of the window as committed in resources/pictures: file formats, sizes,
// the colours the screen elements are known by, the icons, the resource list, and that
// the generator still draws the same files.

#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <array>
#include <memory>

namespace {

QString picturesFolder() {
    return qEnvironmentVariable("TESSEL_SOURCE_DIR") + QStringLiteral("/resources/pictures");
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray pictureBytes(const QString& name) {
    return readBytes(picturesFolder() + '/' + name);
}

QImage picture(const QString& name) {
    return QImage(picturesFolder() + '/' + name).convertToFormat(QImage::Format_ARGB32);
}

quint32 le16(const QByteArray& bytes, int at) {
    return quint32(uchar(bytes[at])) | quint32(uchar(bytes[at + 1])) << 8;
}

quint32 le32(const QByteArray& bytes, int at) {
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRedGround = qRgb(216, 20, 0);
constexpr QRgb kGreenGround = qRgb(24, 164, 0);
constexpr QRgb kBrightGreen = qRgb(0, 255, 0);
constexpr QRgb kArrowGreen = qRgb(0, 252, 0);
constexpr QRgb kFrameRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kDeviceWhite = qRgb(248, 252, 248);

bool isRed(QRgb c) {
    return qRed(c) > 180 && qGreen(c) < 80 && qBlue(c) < 80;
}

// The 16 colours that a 16-colour icon may use.
bool isClassicColour(QRgb c) {
    static const QSet<QRgb> palette{
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    return palette.contains(c | 0xff000000u);
}

// Pictures whose artwork holds no text; the font engine cannot change them.
bool drawnWithoutText(const QString& name) {
    static const QSet<QString> withText{
        QStringLiteral("Image1.bmp"),    QStringLiteral("myImage2.bmp"),
        QStringLiteral("myImage3.bmp"),  QStringLiteral("myImage4.bmp"),
        QStringLiteral("myImage5.bmp"),  QStringLiteral("myImage6.bmp"),
        QStringLiteral("myImage7.bmp"),  QStringLiteral("myImage10.bmp"),
        QStringLiteral("myImage13.bmp"), QStringLiteral("myImage16.bmp"),
        QStringLiteral("myImage18.bmp"), QStringLiteral("myImage24.bmp")};
    return !withText.contains(name);
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void bitmapHeader_data();
    void bitmapHeader();
    void largeDummyGif();
    void zoomScaleBars();
    void characteristicColour_data();
    void characteristicColour();
    void whiteSymbolOnGround_data();
    void whiteSymbolOnGround();
    void streetMap();
    void icon_data();
    void icon();
    void arrowPointsItsWay_data();
    void arrowPointsItsWay();
    void resourceListNamesEveryPicture();
    void generatorDrawsTheCommittedFiles_data();
    void generatorDrawsTheCommittedFiles();

private:
    std::unique_ptr<QTemporaryDir> generated_;
};

void TestPictures::initTestCase() {
    QVERIFY2(QDir(picturesFolder()).exists(), qPrintable(picturesFolder()));
#ifdef TESSEL_PICGEN
    generated_ = std::make_unique<QTemporaryDir>();
    QVERIFY(generated_->isValid());
    QProcess picgen;
    picgen.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    picgen.start(QStringLiteral(TESSEL_PICGEN), {generated_->path()});
    QVERIFY(picgen.waitForFinished(60000));
    QCOMPARE(picgen.exitCode(), 0);
#endif
}

void TestPictures::bitmapHeader_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("fileSize");

    struct Row {
        const char* name;
        int width;
        int height;
        int fileSize;
    };
    constexpr std::array<Row, 25> kRows{{
        {"myImage1.bmp", 25, 105, 8034},  {"myImage2.bmp", 240, 37, 26694},
        {"myImage3.bmp", 238, 18, 12944}, {"myImage4.bmp", 238, 19, 13660},
        {"myImage5.bmp", 58, 58, 10262},  {"myImage6.bmp", 58, 58, 10264},
        {"myImage7.bmp", 58, 40, 7094},   {"myImage8.bmp", 60, 60, 10854},
        {"myImage9.bmp", 60, 60, 10854},  {"myImage10.bmp", 46, 32, 4534},
        {"myImage11.bmp", 46, 32, 4534},  {"myImage12.bmp", 46, 32, 4534},
        {"myImage13.bmp", 46, 32, 4534},  {"myImage14.bmp", 46, 32, 4534},
        {"myImage15.bmp", 46, 32, 4534},  {"myImage16.bmp", 46, 32, 4534},
        {"myImage17.bmp", 46, 32, 4534},  {"myImage18.bmp", 41, 35, 4394},
        {"myImage19.bmp", 39, 36, 4374},  {"myImage21.bmp", 277, 29, 24182},
        {"myImage22.bmp", 40, 36, 4374},  {"myImage23.bmp", 40, 36, 4374},
        {"myImage24.bmp", 39, 34, 4134},  {"myImage25.bmp", 41, 35, 4394},
        {"Image1.bmp", 240, 300, 216054},
    }};
    for (const Row& row : kRows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.width << row.height
                                << row.fileSize;
}

void TestPictures::bitmapHeader() {
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, fileSize);

    const QByteArray bytes = pictureBytes(name);
    QCOMPARE(bytes.size(), fileSize);
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(le32(bytes, 2), quint32(fileSize));
    QCOMPARE(le32(bytes, 10), 54u); // pixel data offset
    QCOMPARE(le32(bytes, 14), 40u); // information header size
    QCOMPARE(qint32(le32(bytes, 18)), width);
    QCOMPARE(qint32(le32(bytes, 22)), height); // positive: rows stored bottom-up
    QCOMPARE(le16(bytes, 26), 1u);             // planes
    QCOMPARE(le16(bytes, 28), 24u);            // bits per pixel
    QCOMPARE(le32(bytes, 30), 0u);             // no compression
    QCOMPARE(le32(bytes, 34), quint32(fileSize - 54));
    QCOMPARE(le32(bytes, 46), 0u); // no colour table

    const QImage image = picture(name);
    QCOMPARE(image.size(), QSize(width, height));
}

void TestPictures::largeDummyGif() {
    const QByteArray bytes = pictureBytes(QStringLiteral("myImage20.gif"));
    QCOMPARE(bytes.left(6), QByteArray("GIF89a"));
    QCOMPARE(le16(bytes, 6), 277u);
    QCOMPARE(le16(bytes, 8), 29u);
    const uchar screenFlags = uchar(bytes[10]);
    QVERIFY(screenFlags & 0x80);        // global colour table
    QCOMPARE(screenFlags & 0x07, 0x01); // of 2^(1+1) = 4 entries
    auto tableEntry = [&](int index) {
        const int at = 13 + 3 * index;
        return qRgb(uchar(bytes[at]), uchar(bytes[at + 1]), uchar(bytes[at + 2]));
    };
    QCOMPARE(tableEntry(0), kFrameRed);
    QCOMPARE(tableEntry(1), kWhite);

    const int extension = 13 + 4 * 3;
    QCOMPARE(bytes.mid(extension, 3), QByteArray("\x21\xf9\x04", 3));
    QVERIFY(uchar(bytes[extension + 3]) & 0x01); // transparency on
    QCOMPARE(uchar(bytes[extension + 6]), uchar(2));
    QCOMPARE(uchar(bytes[extension + 8]), uchar(0x2c)); // the one image follows
    QCOMPARE(uchar(bytes.back()), uchar(0x3b));

    // only red and white in the picture, nothing transparent: the frame is two pixels wide
    const QImage image = picture(QStringLiteral("myImage20.gif"));
    QCOMPARE(image.size(), QSize(277, 29));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool frame = x < 2 || y < 2 || x >= 275 || y >= 27;
            if (image.pixel(x, y) != (frame ? kFrameRed : kWhite))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

void TestPictures::zoomScaleBars() {
    // Down the middle column: 15 bars of equal height with one-pixel black gaps, the 13th
    // bright green and the others dark grey.
    const QImage image = picture(QStringLiteral("myImage1.bmp"));
    QCOMPARE(image.pixel(0, 50), kBlack);
    struct Run {
        QRgb colour;
        int length;
    };
    QList<Run> bars;
    QRgb previous = kBlack;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb c = image.pixel(12, y);
        if (c != kBlack) {
            if (previous == kBlack || c != previous)
                bars.append({c, 0});
            ++bars.last().length;
        }
        previous = c;
    }
    QCOMPARE(bars.size(), 15);
    for (int i = 0; i < bars.size(); ++i) {
        QCOMPARE(bars[i].length, bars[0].length);
        if (i == 12) {
            QCOMPARE(bars[i].colour, kBrightGreen);
        } else {
            const QRgb grey = bars[i].colour;
            QVERIFY(qRed(grey) > 30 && qRed(grey) < 128);
            QVERIFY(qAbs(qRed(grey) - qGreen(grey)) < 10 && qAbs(qRed(grey) - qBlue(grey)) < 10);
        }
    }
}

void TestPictures::characteristicColour_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRgb>("colour");

    // red-framed fields of the info bar, black between them
    QTest::newRow("infobar first frame") << "myImage2.bmp" << QPoint(1, 18) << kFrameRed;
    QTest::newRow("infobar last frame") << "myImage2.bmp" << QPoint(238, 18) << kFrameRed;
    QTest::newRow("infobar frame top") << "myImage2.bmp" << QPoint(120, 1) << kFrameRed;
    QTest::newRow("infobar outer edge") << "myImage2.bmp" << QPoint(0, 0) << kBlack;
    // a two-pixel bright green frame round white
    QTest::newRow("small dummy corner") << "myImage21.bmp" << QPoint(0, 0) << kBrightGreen;
    QTest::newRow("small dummy frame inner") << "myImage21.bmp" << QPoint(1, 1) << kBrightGreen;
    QTest::newRow("small dummy inside") << "myImage21.bmp" << QPoint(2, 2) << kWhite;
    QTest::newRow("small dummy far frame") << "myImage21.bmp" << QPoint(275, 27) << kBrightGreen;
    QTest::newRow("small dummy far inside") << "myImage21.bmp" << QPoint(274, 26) << kWhite;
    // grounds of the status icons
    QTest::newRow("log ground") << "myImage22.bmp" << QPoint(0, 0) << kRedGround;
    QTest::newRow("log ground corner") << "myImage22.bmp" << QPoint(39, 35) << kRedGround;
    QTest::newRow("tmc ground") << "myImage23.bmp" << QPoint(0, 35) << kRedGround;
    QTest::newRow("gps ground") << "myImage24.bmp" << QPoint(0, 0) << kGreenGround;
    QTest::newRow("gps ground corner") << "myImage24.bmp" << QPoint(38, 0) << kGreenGround;
    // the turn arrows: green shafts, a white road stub
    QTest::newRow("straight-on shaft") << "myImage8.bmp" << QPoint(30, 45) << kArrowGreen;
    QTest::newRow("turn shaft") << "myImage9.bmp" << QPoint(36, 52) << kArrowGreen;
    QTest::newRow("turn head") << "myImage9.bmp" << QPoint(14, 27) << kArrowGreen;
    QTest::newRow("road straight on") << "myImage9.bmp" << QPoint(36, 12) << kDeviceWhite;
    QTest::newRow("straight-on ground") << "myImage8.bmp" << QPoint(3, 57) << kBlack;
}

void TestPictures::characteristicColour() {
    QFETCH(QString, name);
    QFETCH(QPoint, at);
    QFETCH(QRgb, colour);
    QCOMPARE(picture(name).pixel(at), colour);
}

void TestPictures::whiteSymbolOnGround_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("ground");

    for (const int number : {3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 25})
        QTest::addRow("myImage%d", number) << QStringLiteral("myImage%1.bmp").arg(number) << kBlack;
    QTest::newRow("myImage22") << "myImage22.bmp" << kRedGround;
    QTest::newRow("myImage23") << "myImage23.bmp" << kRedGround;
    QTest::newRow("myImage24") << "myImage24.bmp" << kGreenGround;
}

void TestPictures::whiteSymbolOnGround() {
    // Every pixel lies between the ground and white (the symbol's edges blend), and the
    // symbol covers a fair part of the picture.
    QFETCH(QString, name);
    QFETCH(QRgb, ground);

    const QImage image = picture(name);
    const int width = image.width();
    const int height = image.height();
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(width - 1, 0), QPoint(0, height - 1), QPoint(width - 1, height - 1)})
        QCOMPARE(image.pixel(corner), ground);

    // the symbols' white is that of the device screen, 248, 252, 248
    const std::array<int, 3> from{qRed(ground), qGreen(ground), qBlue(ground)};
    const std::array<int, 3> to{qRed(kDeviceWhite), qGreen(kDeviceWhite), qBlue(kDeviceWhite)};
    int channel = 0; // the channel that changes most from ground to white
    for (int i = 1; i < 3; ++i)
        if (to[i] - from[i] > to[channel] - from[channel])
            channel = i;

    int white = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb c = image.pixel(x, y);
            const std::array<int, 3> now{qRed(c), qGreen(c), qBlue(c)};
            const double share =
                double(now[channel] - from[channel]) / (to[channel] - from[channel]);
            for (int i = 0; i < 3; ++i) {
                const double expected = from[i] + share * (to[i] - from[i]);
                if (qAbs(now[i] - expected) > 12)
                    QFAIL(qPrintable(
                        QStringLiteral("pixel %1,%2 is neither ground nor white").arg(x).arg(y)));
            }
            if (share > 0.9)
                ++white;
        }
    }
    QVERIFY2(white * 30 > width * height, qPrintable(QString::number(white)));
}

void TestPictures::streetMap() {
    const QImage map = picture(QStringLiteral("Image1.bmp"));
    QCOMPARE(map.size(), QSize(240, 300));

    // the built-up area is the ground of the map: orange-beige
    QHash<QRgb, int> counts;
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < map.width(); ++x)
            ++counts[map.pixel(x, y)];
    QRgb ground = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(ground))
            ground = it.key();
    QVERIFY(counts.value(ground) * 3 > map.width() * map.height());
    QVERIFY(qRed(ground) >= 224 && qRed(ground) > qGreen(ground) + 16 &&
            qGreen(ground) > qBlue(ground) + 16);

    // pale blue-grey water at the left edge
    const QRgb water = map.pixel(4, 120);
    QVERIFY(qBlue(water) > qRed(water) + 20 && qRed(water) > 120);

    // the red main road leaves the map at the bottom left and at the top right
    auto redAlong = [&](QRect edge) {
        int red = 0;
        for (int y = edge.top(); y <= edge.bottom(); ++y)
            for (int x = edge.left(); x <= edge.right(); ++x)
                red += isRed(map.pixel(x, y));
        return red;
    };
    QVERIFY(redAlong(QRect(0, 200, 2, 100)) > 0);
    QVERIFY(redAlong(QRect(238, 0, 2, 100)) > 0);
    QCOMPARE(redAlong(QRect(0, 0, 2, 200)), 0);

    // white streets
    QVERIFY(counts.value(kWhite) > 2000);
}

void TestPictures::icon_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");

    for (const int size : {16, 32, 48, 256})
        QTest::addRow("tessel-%d", size) << QStringLiteral("tessel-%1.png").arg(size) << size;
    for (const char* direction : {"n", "o", "s", "w"}) {
        for (const int size : {16, 32})
            QTest::addRow("arrow-%s-%d", direction, size)
                << QStringLiteral("arrow-%1-%2.png").arg(QLatin1String(direction)).arg(size)
                << size;
    }
}

void TestPictures::icon() {
    // Square, transparent round the subject, and in the 16 classic colours only.
    QFETCH(QString, name);
    QFETCH(int, size);

    const QImage image = picture(name);
    QCOMPARE(image.size(), QSize(size, size));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size - 1, 0)), 0);
    int opaque = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            QCOMPARE(qAlpha(c), 255);
            QVERIFY2(isClassicColour(c), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            ++opaque;
        }
    }
    QVERIFY(opaque * 4 > size * size);
}

void TestPictures::arrowPointsItsWay_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("broadSide"); // 0 top, 1 right, 2 bottom, 3 left: the shaft's end

    for (const int size : {16, 32}) {
        QTest::addRow("north %d", size) << QStringLiteral("arrow-n-%1.png").arg(size) << 2;
        QTest::addRow("east %d", size) << QStringLiteral("arrow-o-%1.png").arg(size) << 3;
        QTest::addRow("south %d", size) << QStringLiteral("arrow-s-%1.png").arg(size) << 0;
        QTest::addRow("west %d", size) << QStringLiteral("arrow-w-%1.png").arg(size) << 1;
    }
}

void TestPictures::arrowPointsItsWay() {
    // The blunt end of the shaft shows the most pixels on its side of the bounding box;
    // the tip, opposite, the fewest.
    QFETCH(QString, name);
    QFETCH(int, broadSide);

    const QImage image = picture(name);
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                box |= QRect(x, y, 1, 1);
    auto countLine = [&](QPoint from, QPoint step, int length) {
        int count = 0;
        for (int i = 0; i < length; ++i)
            count += qAlpha(image.pixel(from + step * i)) != 0;
        return count;
    };
    const std::array<int, 4> sides{
        countLine(box.topLeft(), {1, 0}, box.width()),
        countLine(box.topRight(), {0, 1}, box.height()),
        countLine(box.bottomLeft(), {1, 0}, box.width()),
        countLine(box.topLeft(), {0, 1}, box.height()),
    };
    for (int side = 0; side < 4; ++side) {
        if (side != broadSide)
            QVERIFY2(sides[broadSide] > sides[side], qPrintable(QString::number(side)));
    }
    const int tipSide = (broadSide + 2) % 4;
    QVERIFY(sides[tipSide] <= 4);
}

void TestPictures::resourceListNamesEveryPicture() {
    QFile qrc(picturesFolder() + QStringLiteral("/pictures.qrc"));
    QVERIFY(qrc.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&qrc);
    QString prefix;
    QSet<QString> listed;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("qresource"))
            prefix = xml.attributes().value(QLatin1String("prefix")).toString();
        if (xml.isStartElement() && xml.name() == QLatin1String("file"))
            listed.insert(xml.readElementText());
    }
    QVERIFY(!xml.hasError());
    QCOMPARE(prefix, QStringLiteral("/pictures"));

    const QStringList files =
        QDir(picturesFolder())
            .entryList({QStringLiteral("*.bmp"), QStringLiteral("*.gif"), QStringLiteral("*.png")},
                       QDir::Files);
    QCOMPARE(listed, QSet<QString>(files.cbegin(), files.cend()));

    // the names the window asks for
    QSet<QString> expected{QStringLiteral("Image1.bmp"), QStringLiteral("myImage20.gif"),
                           QStringLiteral("tessel-16.png"), QStringLiteral("tessel-32.png")};
    for (int number = 1; number <= 25; ++number)
        if (number != 20)
            expected.insert(QStringLiteral("myImage%1.bmp").arg(number));
    for (const char* direction : {"n", "o", "s", "w"})
        for (const int size : {16, 32})
            expected.insert(
                QStringLiteral("arrow-%1-%2.png").arg(QLatin1String(direction)).arg(size));
    for (const QString& name : expected)
        QVERIFY2(listed.contains(name), qPrintable(name));
}

void TestPictures::generatorDrawsTheCommittedFiles_data() {
    QTest::addColumn<QString>("name");
    const QStringList files = QDir(picturesFolder()).entryList(QDir::Files, QDir::Name);
    for (const QString& name : files)
        QTest::newRow(qPrintable(name)) << name;
}

void TestPictures::generatorDrawsTheCommittedFiles() {
    if (!generated_)
        QSKIP("the generator is not part of this build");
    QFETCH(QString, name);

    const QByteArray committed = pictureBytes(name);
    const QByteArray drawn = readBytes(generated_->filePath(name));
    QVERIFY2(!drawn.isEmpty(), "the generator no longer writes this file");

    if (name.endsWith(QLatin1String(".png"))) {
        // compare pixels: the PNG compressor may pack the same picture differently
        QCOMPARE(QImage::fromData(drawn).convertToFormat(QImage::Format_ARGB32),
                 QImage::fromData(committed).convertToFormat(QImage::Format_ARGB32));
    } else if (drawnWithoutText(name)) {
        QCOMPARE(drawn, committed);
    } else {
        // the font engine of another machine may shade glyphs differently: same file
        // layout is all that can be asked
        QCOMPARE(drawn.size(), committed.size());
        QCOMPARE(drawn.left(54), committed.left(54));
    }
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"

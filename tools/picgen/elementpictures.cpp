#include "elementpictures.h"

#include "bmpwriter.h"
#include "gifwriter.h"
#include "painting.h"
#include "panels.h"
#include "symbols.h"

#include <functional>

namespace picgen {

namespace {

constexpr int kLitZoomBar = 13;
constexpr int kDummyWidth = 277;
constexpr int kDummyHeight = 29;
constexpr int kDummyFrame = 2;

// The palette of the large dummy's GIF: red, white, the transparent slot, black.
enum DummyIndex : uchar { DummyRed = 0, DummyWhite = 1, DummyTransparent = 2, DummyBlack = 3 };

QImage smallDummyPicture() {
    QImage image = blankPicture(kDummyWidth, kDummyHeight, colour::brightGreen);
    QPainter painter(&image);
    painter.fillRect(QRect(kDummyFrame, kDummyFrame, kDummyWidth - 2 * kDummyFrame,
                           kDummyHeight - 2 * kDummyFrame),
                     QColor::fromRgb(colour::pureWhite));
    return image;
}

QImage largeDummyPicture() {
    QImage image(kDummyWidth, kDummyHeight, QImage::Format_Indexed8);
    image.setColorTable({colour::frameRed, colour::pureWhite, qRgb(0, 255, 255), colour::black});
    image.fill(DummyRed);
    for (int y = kDummyFrame; y < kDummyHeight - kDummyFrame; ++y) {
        uchar* line = image.scanLine(y);
        std::fill(line + kDummyFrame, line + kDummyWidth - kDummyFrame, uchar(DummyWhite));
    }
    return image;
}

struct Element {
    int number; // the picture control "myImage<number>"
    std::function<QImage()> draw;
    int trailingBytes = 0;
};

OutputFile bitmapFile(const Element& element) {
    return {QStringLiteral("myImage%1.bmp").arg(element.number),
            encodeBmp24(element.draw(), element.trailingBytes)};
}

auto symbol(int width, int height, QRgb ground, SymbolPainter paint) {
    return [=] { return symbolPicture(width, height, ground, paint); };
}

} // namespace

OutputFiles elementPictures() {
    using colour::black;
    const std::vector<Element> bitmaps{
        {1, [] { return zoomScalePicture(kLitZoomBar); }},
        {2, infoBarPicture},
        {3, [] { return streetBarPicture(238, 18, QStringLiteral("nächste Straße")); }, 2},
        {4, [] { return streetBarPicture(238, 19, QStringLiteral("aktuelle Straße")); }, 2},
        {5,
         [] {
             return routeBoxPicture(0.0, QStringLiteral("23:13"), QStringLiteral("00h18'"),
                                    QStringLiteral("8.6km"));
         }},
        {6,
         [] {
             return routeBoxPicture(0.5, QStringLiteral("23:00"), QStringLiteral("00h05'"),
                                    QStringLiteral("1.2km"));
         },
         2},
        {7, distancePicture},
        {8, [] { return manoeuvrePicture(Manoeuvre::StraightOn); }},
        {9, [] { return manoeuvrePicture(Manoeuvre::TurnLeft); }},
        {10, symbol(46, 32, black, paintBirdView)},
        {11, symbol(46, 32, black, paintZoomOut)},
        {12, symbol(46, 32, black, paintZoomIn)},
        {13, symbol(46, 32, black, paintAuto)},
        {14, symbol(46, 32, black, paintPan)},
        {15, symbol(46, 32, black, paintCentre)},
        {16, symbol(46, 32, black, paintNorth)},
        {17, symbol(46, 32, black, paintRoute)},
        {18, symbol(41, 35, black, paintInfo)},
        {19, symbol(39, 36, black, paintMenu)},
        {21, smallDummyPicture},
        {22, symbol(40, 36, colour::redGround, paintLog)},
        {23, symbol(40, 36, colour::redGround, paintTraffic)},
        {24, symbol(39, 34, colour::greenGround, paintSatellite)},
        {25, symbol(41, 35, black, paintWindowFlag)},
    };

    OutputFiles files;
    for (const Element& element : bitmaps)
        files.push_back(bitmapFile(element));
    files.push_back(
        {QStringLiteral("myImage20.gif"), encodeGif(largeDummyPicture(), DummyTransparent)});
    return files;
}

} // namespace picgen

// Colours and drawing helpers shared by all pictures.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace picgen {

// Colours of the device screen.
namespace colour {
inline constexpr QRgb black = qRgb(0, 0, 0);
inline constexpr QRgb white = qRgb(248, 252, 248); // white as the device's 16-bit screen shows it
inline constexpr QRgb pureWhite = qRgb(255, 255, 255); // the dummies' inside
inline constexpr QRgb redGround = qRgb(216, 20, 0);
inline constexpr QRgb greenGround = qRgb(24, 164, 0);
inline constexpr QRgb brightGreen = qRgb(0, 255, 0);
inline constexpr QRgb arrowGreen = qRgb(0, 252, 0);
inline constexpr QRgb frameRed = qRgb(255, 0, 0);
inline constexpr QRgb barGrey = qRgb(72, 76, 72);
} // namespace colour

// An opaque picture filled with one colour.
QImage blankPicture(int width, int height, QRgb fill);

// A painter with antialiasing switched on.
void beginSmooth(QPainter& painter, QImage& image);

// The font of all texts: "DejaVu Sans" at a pixel size, hinted for small screens.
QFont deviceFont(qreal pixelSize, bool bold = false);

// Draws text centred on a point, placed by the glyphs' visible ink, not the font box.
void drawCentredText(QPainter& painter, QPointF centre, const QString& text, QRgb colour);

// Draws text with its visible ink horizontally centred in `box` and its baseline at `baseline`;
// text wider than the box is squeezed to fit it.
void drawTextOnBaseline(QPainter& painter, const QRectF& box, qreal baseline, const QString& text,
                        QRgb colour);

// A pen of the given colour and width with round caps and joins.
QPen roundPen(QRgb colour, qreal width);

// Reduces every pixel to what a 16-bit (5-6-5) screen can show, keeping the pure
// colours red, green and white unchanged.
void snapToDeviceColours(QImage& image);

} // namespace picgen

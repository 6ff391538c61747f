#include "painting.h"

#include <QFontMetricsF>
#include <QPen>

namespace picgen {

QImage blankPicture(int width, int height, QRgb fill) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void beginSmooth(QPainter& painter, QImage& image) {
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

QFont deviceFont(qreal pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
    font.setKerning(true);
    return font;
}

void drawCentredText(QPainter& painter, QPointF centre, const QString& text, QRgb colour) {
    const QFontMetricsF metrics(painter.font());
    const QRectF ink = metrics.tightBoundingRect(text);
    const QPointF origin(centre.x() - ink.center().x(), centre.y() - ink.center().y());
    painter.setPen(QColor::fromRgb(colour));
    painter.drawText(QPointF(qRound(origin.x()), qRound(origin.y())), text);
}

void drawTextOnBaseline(QPainter& painter, const QRectF& box, qreal baseline, const QString& text,
                        QRgb colour) {
    const QFontMetricsF metrics(painter.font());
    const QRectF ink = metrics.tightBoundingRect(text);
    painter.setPen(QColor::fromRgb(colour));
    if (ink.width() <= box.width()) {
        const qreal x = box.center().x() - ink.center().x();
        painter.drawText(QPointF(qRound(x), qRound(baseline)), text);
        return;
    }
    // too wide: squeeze the text horizontally into the box
    const qreal squeeze = box.width() / ink.width();
    painter.save();
    painter.translate(box.left(), baseline);
    painter.scale(squeeze, 1);
    painter.drawText(QPointF(-ink.left(), 0), text);
    painter.restore();
}

QPen roundPen(QRgb colour, qreal width) {
    return QPen(QColor::fromRgb(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void snapToDeviceColours(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x] | 0xff000000u;
            if (pixel == colour::frameRed || pixel == colour::brightGreen ||
                pixel == colour::pureWhite)
                continue;
            line[x] = qRgb(qRed(pixel) & 0xf8, qGreen(pixel) & 0xfc, qBlue(pixel) & 0xf8);
        }
    }
}

} // namespace picgen

#include "panels.h"

#include "painting.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>

#include <array>

namespace picgen {

namespace {

constexpr int kZoomBars = 15;
constexpr int kZoomBarPitch = 7; // six rows of bar, one black row

// The five fields of the info bar, 48 pixels wide each.
constexpr int kInfoFields = 5;
constexpr int kInfoFieldWidth = 48;

void drawScaleSymbol(QPainter& painter, const QRectF& field) {
    painter.setPen(QPen(QColor::fromRgb(colour::white), 2, Qt::SolidLine, Qt::FlatCap));
    const qreal left = field.left() + 9;
    const qreal right = field.right() - 9;
    const qreal base = 15;
    painter.drawLine(QPointF(left, base), QPointF(right, base));
    painter.setPen(QPen(QColor::fromRgb(colour::white), 1.5, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(left + 0.75, base + 1), QPointF(left + 0.75, base - 7));
    painter.drawLine(QPointF(right - 0.75, base + 1), QPointF(right - 0.75, base - 7));
    const qreal middle = qRound((left + right) / 2);
    painter.drawLine(QPointF(middle, base), QPointF(middle, base - 4));
}

void drawGradientSymbol(QPainter& painter, const QRectF& field) {
    const qreal left = field.left() + 10;
    const qreal right = field.right() - 10;
    painter.setPen(roundPen(colour::white, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(QPolygonF{{left, 16}, {right, 16}, {right, 6}});
    // the angle mark in the corner
    painter.setPen(QPen(QColor::fromRgb(colour::white), 1));
    painter.drawArc(QRectF(left - 7, 9, 14, 14), 0, 23 * 16);
}

void drawHeadingSymbol(QPainter& painter, const QRectF& field) {
    const qreal cx = field.center().x();
    const QPolygonF arrow{{cx, 3}, {cx + 7, 18}, {cx, 14}, {cx - 7, 18}};
    painter.setPen(roundPen(colour::white, 1));
    painter.setBrush(QColor::fromRgb(colour::white));
    painter.drawPolygon(arrow);
}

void drawAltitudeSymbol(QPainter& painter, const QRectF& field) {
    const qreal left = field.left() + 8;
    const QPolygonF mountains{
        {left, 17}, {left + 11, 5}, {left + 17, 11}, {left + 21, 7}, {left + 32, 17}};
    painter.setPen(roundPen(colour::white, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(mountains);
    // snow cap of the high peak
    painter.setBrush(QColor::fromRgb(colour::white));
    painter.drawPolygon(QPolygonF{{left + 11, 5}, {left + 14, 8.5}, {left + 8, 8.5}});
}

void drawSpeedSymbol(QPainter& painter, const QRectF& field) {
    const QPointF hub(field.center().x(), 16);
    painter.setPen(QPen(QColor::fromRgb(colour::white), 1.5, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(hub.x() - 12, hub.y() - 12, 24, 24), 0, 180 * 16);
    // scale ticks
    painter.setPen(QPen(QColor::fromRgb(colour::white), 1));
    for (const qreal degrees : {30.0, 60.0, 90.0, 120.0, 150.0}) {
        QLineF tick = QLineF::fromPolar(12, degrees).translated(hub);
        tick.setLength(9);
        const QLineF rim(tick.p2(), QLineF::fromPolar(12, degrees).translated(hub).p2());
        painter.drawLine(rim);
    }
    // the needle: a small arrow
    const QLineF needle = QLineF::fromPolar(9, 55).translated(hub);
    painter.setPen(roundPen(colour::white, 1.5));
    painter.drawLine(needle);
    QLineF wing1 = QLineF::fromPolar(4, 55 + 150).translated(needle.p2());
    QLineF wing2 = QLineF::fromPolar(4, 55 - 150).translated(needle.p2());
    painter.setBrush(QColor::fromRgb(colour::white));
    painter.drawPolygon(QPolygonF{needle.p2(), wing1.p2(), wing2.p2()});
    painter.drawEllipse(hub, 1.5, 1.5);
}

QPainterPath arrowOutline(const QPainterPath& shaft, qreal shaftWidth, const QPolygonF& head) {
    QPainterPathStroker stroker;
    stroker.setWidth(shaftWidth);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath outline = stroker.createStroke(shaft);
    QPainterPath headPath;
    headPath.addPolygon(head);
    headPath.closeSubpath();
    return outline.united(headPath).simplified();
}

} // namespace

QImage zoomScalePicture(int activeBar) {
    QImage image = blankPicture(25, 105, colour::black);
    QPainter painter(&image);
    for (int bar = 1; bar <= kZoomBars; ++bar) {
        const QRect rect(1, (bar - 1) * kZoomBarPitch, 23, kZoomBarPitch - 1);
        painter.fillRect(rect,
                         QColor::fromRgb(bar == activeBar ? colour::brightGreen : colour::barGrey));
    }
    return image;
}

QImage infoBarPicture() {
    QImage image = blankPicture(240, 37, colour::black);
    QPainter painter;
    beginSmooth(painter, image);

    using SymbolPainter = void (*)(QPainter&, const QRectF&);
    struct Field {
        SymbolPainter symbol;
        QString value;
    };
    const std::array<Field, kInfoFields> fields{{
        {drawScaleSymbol, QStringLiteral("20m")},
        {drawGradientSymbol, QStringLiteral("0%")},
        {drawHeadingSymbol, QStringLiteral("N")},
        {drawAltitudeSymbol, QStringLiteral("163m")},
        {drawSpeedSymbol, QStringLiteral("36 km/h")},
    }};

    painter.setFont(deviceFont(11, true));
    for (int i = 0; i < kInfoFields; ++i) {
        const QRectF field(i * kInfoFieldWidth, 0, kInfoFieldWidth, 37);
        fields[i].symbol(painter, field);
        drawTextOnBaseline(painter, field.adjusted(3, 0, -3, 0), 32, fields[i].value,
                           colour::white);
    }
    painter.end();
    snapToDeviceColours(image);

    // crisp one-pixel frames, drawn after the colour reduction to stay pure red
    painter.begin(&image);
    painter.setPen(QColor::fromRgb(colour::frameRed));
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < kInfoFields; ++i)
        painter.drawRect(i * kInfoFieldWidth + 1, 1, kInfoFieldWidth - 3, 34);
    return image;
}

QImage streetBarPicture(int width, int height, const QString& street) {
    QImage image = blankPicture(width, height, colour::black);
    QPainter painter;
    beginSmooth(painter, image);
    painter.setFont(deviceFont(12, true));
    drawCentredText(painter, QPointF(width / 2.0, height / 2.0), street, colour::white);
    painter.end();
    snapToDeviceColours(image);
    return image;
}

QImage routeBoxPicture(qreal progress, const QString& arrival, const QString& remaining,
                       const QString& distance) {
    QImage image = blankPicture(58, 58, colour::black);
    QPainter painter;
    beginSmooth(painter, image);

    // the route line from the start circle to the end circle
    const qreal lineY = 7.5;
    const qreal startX = 6.5;
    const qreal endX = 51.5;
    painter.setPen(QPen(QColor::fromRgb(colour::white), 1.5));
    painter.drawLine(QPointF(startX + 3.5, lineY), QPointF(endX - 3.5, lineY));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(startX, lineY), 3.5, 3.5);
    painter.setBrush(QColor::fromRgb(colour::white));
    painter.drawEllipse(QPointF(endX, lineY), 3.5, 3.5);

    // the position arrow pointing along the route
    const qreal tipX = startX + 14 + progress * (endX - startX - 28);
    painter.setPen(roundPen(colour::white, 1));
    painter.drawPolygon(
        QPolygonF{{tipX, lineY}, {tipX - 9, lineY - 5}, {tipX - 6, lineY}, {tipX - 9, lineY + 5}});

    painter.setFont(deviceFont(12, true));
    const QRectF box(0, 0, 58, 58);
    drawTextOnBaseline(painter, box, 27, arrival, colour::white);
    drawTextOnBaseline(painter, box, 41, remaining, colour::white);
    drawTextOnBaseline(painter, box, 55, distance, colour::white);
    painter.end();
    snapToDeviceColours(image);
    return image;
}

QImage distancePicture() {
    QImage image = blankPicture(58, 40, colour::black);
    QPainter painter;
    beginSmooth(painter, image);
    const QRectF box(0, 0, 58, 40);
    painter.setFont(deviceFont(24, true));
    drawTextOnBaseline(painter, box, 22, QStringLiteral("500"), colour::white);
    painter.setFont(deviceFont(13, true));
    drawTextOnBaseline(painter, box, 36, QStringLiteral("m"), colour::white);
    painter.end();
    snapToDeviceColours(image);
    return image;
}

QImage manoeuvrePicture(Manoeuvre manoeuvre) {
    QImage image = blankPicture(60, 60, colour::black);
    QPainter painter;
    beginSmooth(painter, image);

    QPainterPath arrow;
    if (manoeuvre == Manoeuvre::StraightOn) {
        QPainterPath shaft(QPointF(30, 59));
        shaft.lineTo(30, 24);
        arrow = arrowOutline(shaft, 14, QPolygonF{{30, 3}, {49, 26}, {11, 26}});
    } else {
        // the road straight on, which the route leaves
        painter.setPen(QPen(QColor::fromRgb(colour::white), 10, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(36, 40), QPointF(36, 5));

        QPainterPath shaft(QPointF(36, 59));
        shaft.lineTo(36, 36);
        shaft.quadTo(36, 27, 27, 27);
        shaft.lineTo(22, 27);
        arrow = arrowOutline(shaft, 14, QPolygonF{{3, 27}, {24, 8}, {24, 46}});
    }
    painter.setPen(
        QPen(QColor::fromRgb(colour::white), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(QColor::fromRgb(colour::arrowGreen));
    painter.drawPath(arrow);
    painter.end();
    snapToDeviceColours(image);
    return image;
}

} // namespace picgen

#include "symbols.h"

#include "painting.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace picgen {

namespace {

QColor whiteColour() {
    return QColor::fromRgb(colour::white);
}

QColor groundOf(const QPainter& painter) {
    return painter.background().color();
}

void paintMagnifier(QPainter& painter, bool plus) {
    const QPointF centre(20, 13.5);
    painter.setPen(QPen(whiteColour(), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 9, 9);
    painter.setPen(QPen(whiteColour(), 4.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(27.5, 21), QPointF(33, 26.5));
    painter.setPen(QPen(whiteColour(), 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(centre.x() - 5, centre.y()), QPointF(centre.x() + 5, centre.y()));
    if (plus)
        painter.drawLine(QPointF(centre.x(), centre.y() - 5), QPointF(centre.x(), centre.y() + 5));
}

// One pane of the waving flag: a four-sided patch whose top and bottom follow the wave.
QPainterPath flagPane(qreal left, qreal right, qreal top, qreal bottom) {
    auto wave = [](qreal x) { return 2.2 * std::sin((x - 6) / 28 * 2 * std::numbers::pi); };
    auto slant = [](qreal y) { return (y - 6) * 0.12; };
    QPainterPath pane;
    constexpr int kSteps = 12;
    pane.moveTo(left - slant(top), top + wave(left));
    for (int i = 1; i <= kSteps; ++i) {
        const qreal x = left + (right - left) * i / kSteps;
        pane.lineTo(x - slant(top), top + wave(x));
    }
    for (int i = kSteps; i >= 0; --i) {
        const qreal x = left + (right - left) * i / kSteps;
        pane.lineTo(x - slant(bottom), bottom + wave(x));
    }
    pane.closeSubpath();
    return pane;
}

} // namespace

QImage symbolPicture(int width, int height, QRgb ground, SymbolPainter paint) {
    QImage image = blankPicture(width, height, ground);
    QPainter painter;
    beginSmooth(painter, image);
    painter.setBackground(QColor::fromRgb(ground));
    paint(painter, QSizeF(width, height));
    painter.end();
    snapToDeviceColours(image);
    return image;
}

void paintBirdView(QPainter& painter, QSizeF size) {
    painter.setFont(deviceFont(12, true));
    drawTextOnBaseline(painter, QRectF(QPointF(0, 0), size), 12, QStringLiteral("3D"),
                       colour::white);

    // a ground plane seen at a low angle: rows close up towards the horizon
    const qreal horizon = 16;
    const qreal front = 30.5;
    const qreal farHalf = 9;
    const qreal nearHalf = 20;
    const qreal cx = size.width() / 2;
    painter.setPen(QPen(whiteColour(), 1));
    for (const qreal t : {0.0, 0.22, 0.48, 1.0}) {
        const qreal y = horizon + (front - horizon) * t;
        const qreal half = farHalf + (nearHalf - farHalf) * t;
        painter.drawLine(QPointF(cx - half, y), QPointF(cx + half, y));
    }
    for (int i = -2; i <= 2; ++i) {
        painter.drawLine(QPointF(cx + farHalf * i / 2, horizon),
                         QPointF(cx + nearHalf * i / 2, front));
    }
}

void paintZoomOut(QPainter& painter, QSizeF) {
    paintMagnifier(painter, false);
}

void paintZoomIn(QPainter& painter, QSizeF) {
    paintMagnifier(painter, true);
}

void paintAuto(QPainter& painter, QSizeF size) {
    painter.setFont(deviceFont(13, true));
    drawCentredText(painter, QPointF(size.width() / 2, size.height() / 2), QStringLiteral("AUTO"),
                    colour::white);
}

void paintPan(QPainter& painter, QSizeF) {
    // four fingers side by side, their tops staggered like a relaxed hand
    constexpr qreal kFingerWidth = 5;
    constexpr qreal kFirstFinger = 16.5;
    constexpr qreal kFingerTops[] = {6.5, 3.5, 4.5, 8.5};
    constexpr qreal kPalmTop = 15.5;
    QPainterPath hand;
    for (int i = 0; i < 4; ++i) {
        QPainterPath finger;
        finger.addRoundedRect(
            QRectF(kFirstFinger + i * kFingerWidth, kFingerTops[i], kFingerWidth, 16), 2.5, 2.5);
        hand = hand.united(finger);
    }
    QPainterPath palm;
    palm.addRoundedRect(QRectF(kFirstFinger, 12.5, 4 * kFingerWidth, 17), 5, 5);
    hand = hand.united(palm);
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-2.5, -11, 5, 14), 2.5, 2.5);
    hand = hand.united(QTransform().translate(17.5, 23).rotate(-42).map(thumb));

    painter.setPen(roundPen(colour::white, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hand.simplified());
    // the clefts between the fingers
    painter.setPen(QPen(whiteColour(), 1, Qt::SolidLine, Qt::FlatCap));
    for (int i = 1; i < 4; ++i) {
        const qreal x = kFirstFinger + i * kFingerWidth;
        const qreal top = std::max(kFingerTops[i - 1], kFingerTops[i]) + 3;
        painter.drawLine(QPointF(x, top), QPointF(x, kPalmTop));
    }
}

void paintCentre(QPainter& painter, QSizeF size) {
    // two-pixel lines on whole pixels keep the crosshair sharp
    const QPointF centre(size.width() / 2, size.height() / 2);
    painter.setPen(QPen(whiteColour(), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 9, 9);
    painter.setPen(QPen(whiteColour(), 2, Qt::SolidLine, Qt::FlatCap));
    for (int quarter = 0; quarter < 4; ++quarter) {
        const QLineF outer = QLineF::fromPolar(14, 90 * quarter).translated(centre);
        const QLineF inner = QLineF::fromPolar(4, 90 * quarter).translated(centre);
        painter.drawLine(inner.p2(), outer.p2());
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(whiteColour());
    painter.drawRect(QRectF(centre.x() - 1, centre.y() - 1, 2, 2));
}

void paintNorth(QPainter& painter, QSizeF size) {
    // centred on a pixel so that the axes of the rose fall on whole pixel columns and rows
    const QPointF centre(std::floor(size.width() / 2) - 0.5, 20.5);
    constexpr qreal kPoint = 11;
    constexpr qreal kWaist = 4;
    painter.setPen(QPen(whiteColour(), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    for (int quarter = 0; quarter < 4; ++quarter) {
        const qreal angle = 90 + 90 * quarter;
        const QPointF tip = QLineF::fromPolar(kPoint, angle).translated(centre).p2();
        const QPointF left = QLineF::fromPolar(kWaist, angle + 45).translated(centre).p2();
        const QPointF right = QLineF::fromPolar(kWaist, angle - 45).translated(centre).p2();
        // each point in two halves, one filled, as compass roses show their relief
        painter.setBrush(groundOf(painter));
        painter.drawPolygon(QPolygonF{centre, tip, right});
        painter.setBrush(whiteColour());
        painter.drawPolygon(QPolygonF{centre, tip, left});
    }
    painter.setFont(deviceFont(8, true));
    drawTextOnBaseline(painter, QRectF(centre.x() - 10, 0, 21, size.height()), 7,
                       QStringLiteral("N"), colour::white);
}

void paintRoute(QPainter& painter, QSizeF) {
    const QPolygonF corners{{6, 25}, {16, 9}, {27, 23}, {39, 7}};
    painter.setPen(roundPen(colour::white, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(corners);
    painter.setBrush(groundOf(painter));
    for (const QPointF& corner : corners)
        painter.drawEllipse(corner, 2.6, 2.6);
}

void paintInfo(QPainter& painter, QSizeF size) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(30);
    font.setBold(true);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
    painter.setFont(font);
    drawCentredText(painter, QPointF(size.width() / 2, size.height() / 2), QStringLiteral("i"),
                    colour::white);
}

void paintMenu(QPainter& painter, QSizeF size) {
    const qreal cx = size.width() / 2;
    painter.setPen(QPen(whiteColour(), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(QPolygonF{{cx, 7}, {cx + 13, 29}, {cx - 13, 29}});
}

void paintLog(QPainter& painter, QSizeF size) {
    const qreal spine = size.width() / 2;
    const QColor ground = groundOf(painter);
    // a page that sags towards the spine; `drop` lowers it for the cover beneath
    auto page = [&](qreal side, qreal drop, qreal reach) {
        QPainterPath path(QPointF(spine, 11 + drop));
        path.quadTo(spine + side * 7, 7 + drop, spine + side * reach, 9 + drop);
        path.lineTo(spine + side * reach, 27 + drop);
        path.quadTo(spine + side * 7, 25 + drop, spine, 29 + drop);
        path.closeSubpath();
        return path;
    };
    painter.setPen(QPen(ground, 1));
    painter.setBrush(whiteColour());
    for (const qreal side : {-1.0, 1.0}) {
        painter.drawPath(page(side, 2.5, 16.5)); // the cover
        painter.drawPath(page(side, 0, 14.5));
    }
    // lines of writing
    for (int row = 0; row < 4; ++row) {
        const qreal y = 13.5 + row * 3.5;
        painter.drawLine(QPointF(spine - 12, y), QPointF(spine - 3, y + 0.8));
        painter.drawLine(QPointF(spine + 3, y + 0.8), QPointF(spine + 12, y));
    }
}

void paintTraffic(QPainter& painter, QSizeF size) {
    const qreal cx = size.width() / 2;
    painter.setPen(QPen(whiteColour(), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(QPolygonF{{cx, 5}, {cx + 15, 30}, {cx - 15, 30}});
    painter.setPen(QPen(whiteColour(), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(cx, 14), QPointF(cx, 21));
    painter.setPen(Qt::NoPen);
    painter.setBrush(whiteColour());
    painter.drawEllipse(QPointF(cx, 26), 1.7, 1.7);
}

void paintSatellite(QPainter& painter, QSizeF size) {
    // the satellite, tilted, its dish looking down to the left
    painter.save();
    painter.translate(16, 11);
    painter.rotate(45);
    painter.setPen(Qt::NoPen);
    painter.setBrush(whiteColour());
    painter.drawRect(QRectF(-2.5, -3, 5, 6)); // body
    painter.setPen(QPen(whiteColour(), 1));
    painter.setBrush(Qt::NoBrush);
    for (const qreal side : {-1.0, 1.0}) {
        const QRectF panel(side < 0 ? -12 : 4.5, -3, 7.5, 6);
        painter.drawRect(panel);
        painter.drawLine(QPointF(panel.left(), 0), QPointF(panel.right(), 0));
        painter.drawLine(QPointF(panel.center().x(), panel.top()),
                         QPointF(panel.center().x(), panel.bottom()));
        painter.drawLine(QPointF(side * 2.5, 0), QPointF(side * 4.5, 0));
    }
    painter.setBrush(whiteColour());
    painter.drawChord(QRectF(-3, 2, 6, 6), 0, -180 * 16); // dish
    painter.restore();

    // signal waves from the dish down to the ground
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(whiteColour(), 1.5, Qt::SolidLine, Qt::RoundCap));
    const QPointF dish(12.5, 15.5);
    for (const qreal radius : {5.5, 10.0, 14.5}) {
        painter.drawArc(QRectF(dish.x() - radius, dish.y() - radius, 2 * radius, 2 * radius),
                        (225 - 28) * 16, 56 * 16);
    }

    // number of satellites in view
    painter.setFont(deviceFont(15, true));
    drawTextOnBaseline(painter, QRectF(size.width() - 14, 0, 12, size.height()), 31,
                       QStringLiteral("8"), colour::white);
}

void paintWindowFlag(QPainter& painter, QSizeF) {
    constexpr qreal kLeft = 7;
    constexpr qreal kRight = 35;
    constexpr qreal kTop = 6;
    constexpr qreal kBottom = 29;
    constexpr qreal kGap = 2.5;
    const qreal midX = (kLeft + kRight) / 2;
    const qreal midY = (kTop + kBottom) / 2;
    painter.setPen(roundPen(colour::white, 1.3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(flagPane(kLeft, midX - kGap / 2, kTop, midY - kGap / 2));
    painter.drawPath(flagPane(midX + kGap / 2, kRight, kTop, midY - kGap / 2));
    painter.drawPath(flagPane(kLeft, midX - kGap / 2, midY + kGap / 2, kBottom));
    painter.drawPath(flagPane(midX + kGap / 2, kRight, midY + kGap / 2, kBottom));
}

} // namespace picgen

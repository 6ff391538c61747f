#include "mappicture.h"

#include "bmpwriter.h"
#include "painting.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>

#include <vector>

namespace picgen {

namespace {

constexpr int kMapWidth = 240;
constexpr int kMapHeight = 300;

namespace mapColour {
constexpr QRgb builtUp = qRgb(248, 212, 160);
constexpr QRgb builtUpEdge = qRgb(232, 188, 128);
constexpr QRgb water = qRgb(176, 200, 216);
constexpr QRgb waterEdge = qRgb(128, 160, 192);
constexpr QRgb waterText = qRgb(56, 88, 144);
constexpr QRgb park = qRgb(184, 220, 144);
constexpr QRgb streetCasing = qRgb(152, 144, 136);
constexpr QRgb street = qRgb(255, 255, 255);
constexpr QRgb lane = qRgb(176, 172, 168);
constexpr QRgb mainRoad = qRgb(224, 40, 24);
constexpr QRgb mainRoadCasing = qRgb(136, 16, 8);
constexpr QRgb label = qRgb(48, 44, 40);
constexpr QRgb shield = qRgb(248, 216, 0);
constexpr QRgb poiBlue = qRgb(24, 72, 176);
constexpr QRgb poiBrown = qRgb(152, 88, 40);
} // namespace mapColour

enum class StreetClass { Lane, Street };

struct Street {
    StreetClass kind;
    QPolygonF points;
};

struct Label {
    QPointF centre;
    qreal angle; // degrees, clockwise as QPainter rotates
    QString text;
};

// A smooth path through the points: straight to the first midpoint, then curves whose
// control points are the given corners.
QPainterPath smoothPath(const QPolygonF& points) {
    QPainterPath path(points.first());
    if (points.size() < 3) {
        path.lineTo(points.last());
        return path;
    }
    path.lineTo((points[0] + points[1]) / 2);
    for (qsizetype i = 1; i + 1 < points.size(); ++i)
        path.quadTo(points[i], (points[i] + points[i + 1]) / 2);
    path.lineTo(points.last());
    return path;
}

QPainterPath smoothArea(const QPolygonF& points) {
    QPainterPath path = smoothPath(points);
    path.closeSubpath();
    return path;
}

void strokePath(QPainter& painter, const QPainterPath& path, QRgb colour, qreal width) {
    painter.strokePath(path, roundPen(colour, width));
}

QPolygonF lakeShore() {
    return {{-4, 30},  {14, 36},  {32, 50},  {46, 74},  {50, 100}, {44, 126},
            {52, 150}, {44, 176}, {28, 196}, {12, 206}, {-4, 210}};
}

std::vector<Street> streets() {
    using enum StreetClass;
    return {
        // lanes first, the streets cover their ends
        {Lane, {{150, -4}, {152, 30}, {154, 60}}},
        {Lane, {{122, 90}, {160, 90}, {194, 93}}},
        {Lane, {{62, 168}, {100, 166}, {140, 168}}},
        {Lane, {{160, 176}, {200, 180}, {244, 178}}},
        {Lane, {{152, 212}, {150, 254}, {148, 304}}},
        {Lane, {{66, 196}, {84, 206}, {96, 224}}},
        {Lane, {{214, 54}, {218, 90}, {216, 126}}},
        {Lane, {{-4, 276}, {30, 280}, {60, 302}}},
        // streets
        {Street,
         {{-4, 20},
          {22, 26},
          {46, 42},
          {60, 70},
          {64, 100},
          {58, 126},
          {66, 150},
          {58, 180},
          {40, 204},
          {18, 218},
          {-4, 224}}}, // along the lake
        {Street, {{60, 70}, {100, 64}, {140, 61}, {190, 57}, {244, 53}}},
        {Street, {{58, 126}, {100, 126}, {150, 124}, {192, 128}, {244, 124}}},
        {Street, {{124, -4}, {122, 60}, {121, 126}, {116, 210}, {112, 304}}},
        {Street, {{198, -4}, {194, 60}, {192, 128}, {186, 210}, {190, 304}}},
        {Street, {{24, 252}, {70, 254}, {112, 250}, {190, 256}, {244, 262}}},
        {Street, {{58, 180}, {86, 184}, {116, 186}}},
    };
}

// The federal road that crosses the town.
QPolygonF mainRoad() {
    return {{-6, 290},  {40, 264},  {86, 238}, {118, 206},
            {140, 162}, {170, 118}, {206, 78}, {246, 50}};
}

std::vector<Label> labels() {
    return {
        {{157, 52.5}, -4.6, QStringLiteral("Lindenallee")},
        {{91, 119}, 0, QStringLiteral("Bahnhofstr.")},
        {{131, 28}, 90, QStringLiteral("Goethestr.")},
        {{158, 24}, 90, QStringLiteral("Mühlweg")},
        {{201, 230}, 90, QStringLiteral("Schillerstr.")},
        {{72, 90}, 90, QStringLiteral("Uferstraße")},
        {{217, 268}, 0, QStringLiteral("Marktstr.")},
        {{158, 85}, 0, QStringLiteral("Kirchgasse")},
        {{88, 173}, 0, QStringLiteral("Gartenweg")},
        {{219, 171}, 0, QStringLiteral("Rosenweg")},
        {{158.5, 280}, 90, QStringLiteral("Am Anger")},
    };
}

// A street name with a thin halo of the ground colour, so that it stays legible where it
// touches a street.
void drawLabel(QPainter& painter, const Label& label) {
    painter.save();
    painter.translate(label.centre);
    painter.rotate(label.angle);
    for (const QPointF offset : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
        drawCentredText(painter, offset, label.text, mapColour::builtUp);
    drawCentredText(painter, QPointF(0, 0), label.text, mapColour::label);
    painter.restore();
}

void drawRoadShield(QPainter& painter, QPointF centre, const QString& number) {
    painter.setFont(deviceFont(8, true));
    const QRectF box(centre.x() - 11, centre.y() - 5.5, 22, 11);
    painter.setPen(QPen(QColor::fromRgb(mapColour::label), 1));
    painter.setBrush(QColor::fromRgb(mapColour::shield));
    painter.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    drawCentredText(painter, box.center(), number, mapColour::label);
}

QRectF poiBox(QPointF centre) {
    return QRectF(centre.x() - 5.5, centre.y() - 5.5, 11, 11);
}

void drawParking(QPainter& painter, QPointF centre) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(mapColour::poiBlue));
    painter.drawRoundedRect(poiBox(centre), 1.5, 1.5);
    painter.setFont(deviceFont(10, true));
    drawCentredText(painter, centre, QStringLiteral("P"), colour::pureWhite);
}

void drawFuel(QPainter& painter, QPointF centre) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(mapColour::poiBlue));
    painter.drawRoundedRect(poiBox(centre), 1.5, 1.5);
    // the pump with its hose
    painter.setBrush(QColor::fromRgb(colour::pureWhite));
    painter.drawRect(QRectF(centre.x() - 3, centre.y() - 3, 4, 7));
    painter.setBrush(QColor::fromRgb(mapColour::poiBlue));
    painter.drawRect(QRectF(centre.x() - 2, centre.y() - 2, 2, 2));
    painter.setPen(QPen(QColor::fromRgb(colour::pureWhite), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF{{centre.x() + 1, centre.y() - 1.5},
                                   {centre.x() + 3, centre.y()},
                                   {centre.x() + 3, centre.y() + 2.5}});
}

void drawHospital(QPainter& painter, QPointF centre) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(mapColour::poiBlue));
    painter.drawRoundedRect(poiBox(centre), 1.5, 1.5);
    painter.setFont(deviceFont(10, true));
    drawCentredText(painter, centre, QStringLiteral("H"), colour::pureWhite);
}

void drawChurch(QPainter& painter, QPointF centre) {
    painter.setPen(QPen(QColor::fromRgb(mapColour::label), 1));
    painter.setBrush(QColor::fromRgb(colour::pureWhite));
    painter.drawEllipse(centre, 5, 5);
    painter.setPen(QPen(QColor::fromRgb(mapColour::label), 1.5, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(centre.x(), centre.y() - 3.5), QPointF(centre.x(), centre.y() + 3.5));
    painter.drawLine(QPointF(centre.x() - 2.5, centre.y() - 1),
                     QPointF(centre.x() + 2.5, centre.y() - 1));
}

void drawRestaurant(QPainter& painter, QPointF centre) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(mapColour::poiBrown));
    painter.drawRoundedRect(poiBox(centre), 1.5, 1.5);
    painter.setPen(QPen(QColor::fromRgb(colour::pureWhite), 1.2, Qt::SolidLine, Qt::RoundCap));
    // fork
    painter.drawLine(QPointF(centre.x() - 2, centre.y() - 3),
                     QPointF(centre.x() - 2, centre.y() + 3.5));
    painter.drawLine(QPointF(centre.x() - 3.5, centre.y() - 3),
                     QPointF(centre.x() - 3.5, centre.y() - 0.5));
    painter.drawLine(QPointF(centre.x() - 0.5, centre.y() - 3),
                     QPointF(centre.x() - 0.5, centre.y() - 0.5));
    // knife
    painter.drawLine(QPointF(centre.x() + 2.5, centre.y() - 3),
                     QPointF(centre.x() + 2.5, centre.y() + 3.5));
}

} // namespace

QImage streetMapPicture() {
    QImage image = blankPicture(kMapWidth, kMapHeight, mapColour::builtUp);
    QPainter painter;
    beginSmooth(painter, image);

    // a park by the lake, then the lake
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(mapColour::park));
    painter.drawPath(smoothArea({{62, 132}, {112, 130}, {110, 160}, {66, 162}}));
    painter.setPen(QPen(QColor::fromRgb(mapColour::waterEdge), 1));
    painter.setBrush(QColor::fromRgb(mapColour::water));
    painter.drawPath(smoothArea(lakeShore()));

    // streets: all casings first so that crossings join cleanly
    const std::vector<Street> all = streets();
    for (const Street& s : all) {
        if (s.kind == StreetClass::Lane)
            strokePath(painter, smoothPath(s.points), mapColour::lane, 3);
    }
    for (const Street& s : all) {
        if (s.kind == StreetClass::Street)
            strokePath(painter, smoothPath(s.points), mapColour::streetCasing, 8);
    }
    for (const Street& s : all) {
        if (s.kind == StreetClass::Street)
            strokePath(painter, smoothPath(s.points), mapColour::street, 6);
    }

    const QPainterPath road = smoothPath(mainRoad());
    strokePath(painter, road, mapColour::mainRoadCasing, 9);
    strokePath(painter, road, mapColour::mainRoad, 7);

    painter.setFont(deviceFont(8));
    for (const Label& label : labels())
        drawLabel(painter, label);
    QFont lakeFont = deviceFont(9);
    lakeFont.setItalic(true);
    painter.setFont(lakeFont);
    painter.save();
    painter.translate(20, 124);
    painter.rotate(-90);
    drawCentredText(painter, QPointF(0, 0), QStringLiteral("Stadtsee"), mapColour::waterText);
    painter.restore();

    drawRoadShield(painter, QPointF(178, 96), QStringLiteral("B 27"));
    drawParking(painter, QPointF(140, 108));
    drawFuel(painter, QPointF(92, 226));
    drawChurch(painter, QPointF(166, 198));
    drawRestaurant(painter, QPointF(226, 104));
    drawParking(painter, QPointF(86, 146));
    drawHospital(painter, QPointF(84, 280));
    painter.end();
    return image;
}

OutputFile streetMapFile() {
    return {QStringLiteral("Image1.bmp"), encodeBmp24(streetMapPicture())};
}

} // namespace picgen

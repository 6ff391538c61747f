// The screen panels of the map view: zoom scale, info bar, street bars, route boxes,
// distance and turn arrows.
#pragma once

#include <QImage>
#include <QString>

namespace picgen {

// A vertical zoom scale of 15 bars; `activeBar` (counted from 1 at the top) is lit.
QImage zoomScalePicture(int activeBar);

// The info bar: scale, gradient, heading, altitude and speed in five framed fields.
QImage infoBarPicture();

// A black bar with a centred street name.
QImage streetBarPicture(int width, int height, const QString& street);

// A route box: the route line with the position arrow at `progress` (0 start, 1 end)
// above arrival time, remaining time and remaining distance.
QImage routeBoxPicture(qreal progress, const QString& arrival, const QString& remaining,
                       const QString& distance);

// The distance to the next manoeuvre: a large number over its unit.
QImage distancePicture();

// The manoeuvre arrow: straight ahead, or a left turn with the road straight on as a stub.
enum class Manoeuvre { StraightOn, TurnLeft };
QImage manoeuvrePicture(Manoeuvre manoeuvre);

} // namespace picgen

// The white symbols of the map view's buttons and status icons.
#pragma once

#include <QImage>
#include <QPainter>
#include <QSizeF>

namespace picgen {

// Paints one white symbol into a picture of the given size; the ground is already filled.
using SymbolPainter = void (*)(QPainter& painter, QSizeF size);

// A picture of `size` on `ground` with one symbol, in the device's colours.
QImage symbolPicture(int width, int height, QRgb ground, SymbolPainter paint);

void paintBirdView(QPainter& painter, QSizeF size);   // "3D" over a perspective grid
void paintZoomOut(QPainter& painter, QSizeF size);    // magnifying glass with a minus
void paintZoomIn(QPainter& painter, QSizeF size);     // magnifying glass with a plus
void paintAuto(QPainter& painter, QSizeF size);       // the word "AUTO"
void paintPan(QPainter& painter, QSizeF size);        // an open hand
void paintCentre(QPainter& painter, QSizeF size);     // a crosshair
void paintNorth(QPainter& painter, QSizeF size);      // a compass rose with "N"
void paintRoute(QPainter& painter, QSizeF size);      // a zigzag route with waypoints
void paintInfo(QPainter& painter, QSizeF size);       // the letter "i"
void paintMenu(QPainter& painter, QSizeF size);       // a triangle pointing up
void paintLog(QPainter& painter, QSizeF size);        // an open book
void paintTraffic(QPainter& painter, QSizeF size);    // a warning triangle
void paintSatellite(QPainter& painter, QSizeF size);  // a satellite, its signal and "8"
void paintWindowFlag(QPainter& painter, QSizeF size); // a waving flag of four panes

} // namespace picgen

// Puts a point of the device screen in the middle of the canvas area, as far as
// the canvas can scroll, and keeps it there while the window is still taking the
// size a zoom gave it.
#pragma once

#include <QPointF>

namespace ui {
class CanvasView;
}

namespace canvas {

void centreOn(ui::CanvasView& view, const QPointF& device);

// As centreOn, now and after every resize of the view in the next moment (the
// window system may give the window its new size late); a scroll by the user or
// another call ends it.
void centreWhileSettling(ui::CanvasView& view, const QPointF& device);

} // namespace canvas

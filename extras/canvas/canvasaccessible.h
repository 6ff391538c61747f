// What screen readers learn of the canvas: the canvas area is one object whose
// children are the elements the view shows, each with its name, its place on the
// screen and its values; the active element is the selected child (and the
// focused one while the canvas has the keyboard), and a change of it is announced.
#pragma once

class QAccessibleEvent;
namespace ui {
class CanvasView;
}

namespace canvas {

// Lets every canvas area speak of its elements (installed once per program).
void installCanvasAccessibility();
// Tells screen readers that this element became the active one.
void announceActive(ui::CanvasView& view, int index);

// Where the announcements go: to the screen readers through Qt unless another
// receiver is installed (the previous one is returned).
using AnnouncementSink = void (*)(QAccessibleEvent* event);
AnnouncementSink installAnnouncementSink(AnnouncementSink sink);

} // namespace canvas

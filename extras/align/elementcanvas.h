// The element pictures seen as rectangles in device pixels: what the align
// tools read of the layout and how they change it. Every change goes through
// the pictures' own geometry in twips, as a drag or a nudge of one element does.
#pragma once

#include <QPointF>
#include <QRectF>
#include <functional>

class QWidget;
namespace ui {
class ImageControl;
class MainForm;
} // namespace ui

namespace align {

class ElementCanvas {
public:
    explicit ElementCanvas(ui::MainForm& form);

    // Connections to the rest of the editor. Each has a default that fits the
    // window as it is: nothing hidden, nothing locked, one screen pixel per device pixel.
    std::function<bool(int)> isHidden = [](int) { return false; };
    std::function<bool(int)> isLocked = [](int) { return false; };
    std::function<double()> screenScale = [] { return 1.0; };

    ui::MainForm& form() const { return m_form; }
    ui::ImageControl* picture(int index) const;
    // A layout is on the canvas: the element objects exist.
    bool loaded() const;
    // The active element (the selection frame's), or -1.
    int active() const;
    // Makes the element the active one: frame, name and boxes follow.
    void activate(int index) const;

    QRectF rect(int index) const;
    // The view shows the element and the element list does not hide it.
    bool shown(int index) const;
    // The element "from" and its dummy in the current view belong together.
    static int linkedPartner(int index);

    // Moves a picture by twips, as a drag does (left and top only).
    void moveBy(int index, double dxTwips, double dyTwips) const;
    // Gives the picture this rectangle; values that stay are not written.
    void place(int index, const QRectF& pixels) const;
    // The partner of a moved "from" or dummy follows it.
    void pullLinked(int index) const;

    // Screen pixels per device pixel (never zero).
    double scale() const;
    // A point of a widget's own pixels in device pixels.
    QPointF devicePoint(const QWidget& widget, QPointF pos) const;

private:
    ui::MainForm& m_form;
};

} // namespace align

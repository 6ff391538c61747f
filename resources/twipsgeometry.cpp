#include "resources/twipsgeometry.h"

#include "resources/errors.h"
#include "resources/screen.h"

#include <QWidget>
#include <cmath>

namespace ui {

namespace {

void checkSize(double twips) {
    if (std::isnan(twips) || twips < 0)
        throw RuntimeError(RuntimeError::InvalidPropertyValue, "Invalid property value");
}

void checkPosition(double twips) {
    if (std::isnan(twips))
        throw RuntimeError(RuntimeError::InvalidPropertyValue, "Invalid property value");
}

} // namespace

int TwipsGeometry::toPixels(double twips) {
    // Keep far-away values inside the window system's coordinate range.
    constexpr double limit = 1.0e6;
    const double px = std::round(twips / kTwipsPerPixel);
    return int(std::clamp(px, -limit, limit));
}

void TwipsGeometry::setLeft(double twips) {
    checkPosition(twips);
    m_left = twips;
    place();
}

void TwipsGeometry::setTop(double twips) {
    checkPosition(twips);
    m_top = twips;
    place();
}

void TwipsGeometry::setWidth(double twips) {
    checkSize(twips);
    m_width = twips;
    place();
}

void TwipsGeometry::setHeight(double twips) {
    checkSize(twips);
    m_height = twips;
    place();
}

void TwipsGeometry::Move(double left, double top, double width, double height) {
    checkPosition(left);
    checkPosition(top);
    checkSize(width);
    checkSize(height);
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    place();
}

bool TwipsGeometry::Visible() const {
    return !m_widget.isHidden();
}

void TwipsGeometry::setVisibleProp(bool visible) {
    m_widget.setVisible(visible);
}

void TwipsGeometry::adoptWidgetGeometry() {
    const QRect r = m_widget.geometry();
    m_left = double(r.x()) * kTwipsPerPixel;
    m_top = double(r.y()) * kTwipsPerPixel;
    m_width = double(r.width()) * kTwipsPerPixel;
    m_height = double(r.height()) * kTwipsPerPixel;
}

int TwipsGeometry::viewScale() const {
    const auto* placement = dynamic_cast<const Placement*>(m_widget.parentWidget());
    return placement ? placement->scale() : 1;
}

void TwipsGeometry::place() {
    const QRect pixels(toPixels(m_left), toPixels(m_top), toPixels(m_width), toPixels(m_height));
    const auto* placement = dynamic_cast<const Placement*>(m_widget.parentWidget());
    m_widget.setGeometry(placement ? placement->place(pixels) : pixels);
}

} // namespace ui

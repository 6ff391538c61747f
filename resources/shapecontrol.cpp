#include "resources/shapecontrol.h"

#include <QPainter>

namespace ui {

ShapeControl::ShapeControl(QWidget* parent)
    : QWidget(parent), TwipsGeometry(static_cast<QWidget&>(*this)),
      m_borderColor(palette().color(QPalette::WindowText)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ShapeControl::setBorderColor(const QColor& color) {
    m_borderColor = color;
    update();
}

void ShapeControl::setBorderWidth(std::int16_t pixels) {
    m_borderWidth = pixels < 0 ? std::int16_t(0) : pixels;
    update();
}

void ShapeControl::setTag(const QString& tag) {
    if (tag == m_tag)
        return;
    m_tag = tag;
    TagChanged.raise();
}

void ShapeControl::setDrawnEnlarged(bool drawn) {
    m_drawnEnlarged = drawn;
    update();
}

void ShapeControl::paintEvent(QPaintEvent*) {
    const int scale = viewScale();
    if (scale > 1 && !m_drawnEnlarged)
        return;
    const int bw = m_borderWidth * scale; // as thick as the canvas is enlarged
    if (bw <= 0 || width() <= 0 || height() <= 0)
        return;
    // The border lies inside the control's rectangle.
    QPainter painter(this);
    const QRect r = rect();
    const int h = std::min(bw, r.height());
    const int w = std::min(bw, r.width());
    painter.fillRect(QRect(r.left(), r.top(), r.width(), h), m_borderColor);
    painter.fillRect(QRect(r.left(), r.bottom() - h + 1, r.width(), h), m_borderColor);
    painter.fillRect(QRect(r.left(), r.top(), w, r.height()), m_borderColor);
    painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), m_borderColor);
}

} // namespace ui

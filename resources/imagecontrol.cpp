#include "resources/imagecontrol.h"

#include "resources/input.h"
#include "resources/picturefile.h"
#include "resources/screen.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

ImageControl::ImageControl(QWidget* parent)
    : QWidget(parent), TwipsGeometry(static_cast<QWidget&>(*this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ImageControl::setPicture(const QPixmap& picture) {
    m_pictureFile.clear();
    m_picture = picture;
    update();
}

void ImageControl::setPictureFile(const QString& path) {
    m_picture = QPixmap();
    m_pictureFile = path;
    update();
}

const QPixmap& ImageControl::picture() const {
    if (!m_pictureFile.isEmpty()) {
        m_picture = readPicture(m_pictureFile);
        m_pictureFile.clear();
    }
    return m_picture;
}

void ImageControl::paintEvent(QPaintEvent*) {
    const QPixmap& shown = picture();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(rect(), shown);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    MouseDown.raise(buttonBits(event->button()), shiftBits(event->modifiers()), float(p.x()),
                    float(p.y()));
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    MouseMove.raise(buttonBits(event->buttons()), shiftBits(event->modifiers()), float(p.x()),
                    float(p.y()));
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    MouseUp.raise(buttonBits(event->button()), shiftBits(event->modifiers()), float(p.x()),
                  float(p.y()));
}

} // namespace ui

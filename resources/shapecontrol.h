// Rectangle shape: a windowless frame with a border colour and width, a
// transparent interior and a text tag. It never takes a mouse event.
#pragma once

#include "resources/event.h"
#include "resources/twipsgeometry.h"

#include <QColor>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace ui {

class ShapeControl : public QWidget, public TwipsGeometry {
public:
    explicit ShapeControl(QWidget* parent);

    QColor BorderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    // Border width in pixels.
    std::int16_t BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(std::int16_t pixels);

    const QString& Tag() const { return m_tag; }
    void setTag(const QString& tag);
    // Raised after the tag took another text.
    Event<> TagChanged;

    // Off: the frame is drawn only where the canvas is shown at 1:1; an enlarged
    // canvas draws its own selection around the element.
    void setDrawnEnlarged(bool drawn);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_borderColor;
    std::int16_t m_borderWidth = 1;
    QString m_tag;
    bool m_drawnEnlarged = true;
};

} // namespace ui

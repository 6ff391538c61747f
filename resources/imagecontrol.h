// Image control: shows its picture stretched to its size and raises press,
// move and release events with the button bits, the shift state and the
// pointer position in twips from its own top-left corner.
#pragma once

#include "resources/event.h"
#include "resources/twipsgeometry.h"

#include <QPixmap>
#include <QWidget>

namespace ui {

class ImageControl : public QWidget, public TwipsGeometry {
public:
    explicit ImageControl(QWidget* parent);

    void setPicture(const QPixmap& picture);
    // The picture in this file (see readPicture), read when it is first needed:
    // a picture that stays hidden costs nothing at start-up.
    void setPictureFile(const QString& path);
    const QPixmap& picture() const;

    // (Button, Shift, X, Y)
    Event<int, int, float, float> MouseDown;
    Event<int, int, float, float> MouseMove;
    Event<int, int, float, float> MouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    mutable QPixmap m_picture;
    mutable QString m_pictureFile; // still to be read into m_picture
    // The picture stretched to the control's size, and the picture it was made from.
    const QPixmap& stretched(const QPixmap& shown) const;
    mutable QPixmap m_stretched;
    mutable qint64 m_stretchedFrom = 0;
};

} // namespace ui

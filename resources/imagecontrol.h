// Image control: shows its picture stretched to its size and raises press,
// move and release events with the button bits, the shift state and the
// pointer position in twips from its own top-left corner.
//
// On an enlarged canvas each of its pixels at 1:1 shows as a block of pixels
// (no smoothing), and the pointer is given in the twips of the picture at 1:1:
// while a button is held it moves in whole pixels at 1:1, and the outer
// kEdgeBand screen pixels of each side read as the picture's edge zone of that
// many pixels at 1:1, the inside never does.
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

    // Screen pixels of the edge zone on each side: the selection frame's border.
    static constexpr int kEdgeBand = 3;

    // A press whose release another program took (a window manager that moves the
    // window on Alt+drag, say) ends as a release would end it. Called when the
    // window loses the pointer; a picture also ends it itself at its next event.
    static void endLostPress();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The pointer in twips, as the events report it.
    QPointF reported(const QPointF& position, bool held) const;
    double axis(double position, double twipsSize, int screenSize, double offset, bool held) const;
    void markOpaque();
    // Ends the press as a release here would, also for whoever watches the picture.
    void releaseLostPress(const QPointF& position);
    void paintEnlarged(QPainter& painter, const QPixmap& shown, const QRegion& dirty, int zoom);

    mutable QPixmap m_picture;
    // While a button is held on the picture: what is added to the whole-pixel
    // pointer position, so that the point grabbed stays under the pointer.
    bool m_held = false;
    Qt::MouseButton m_heldButton = Qt::NoButton;
    double m_offsetX = 0;
    double m_offsetY = 0;
    mutable QString m_pictureFile; // still to be read into m_picture
    // The picture stretched to the control's size, and the picture it was made from.
    const QPixmap& stretched(const QPixmap& shown) const;
    bool hasStretched(const QPixmap& shown) const;
    mutable QPixmap m_stretched;
    mutable qint64 m_stretchedFrom = 0;
};

} // namespace ui

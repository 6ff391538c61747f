// Draws over the canvas what lining up by eye shows: the guides of the
// alignments in force and the gaps while a drag runs, the black and white dashed
// frames of the selected elements besides the active one, and the rubber band. It
// takes no mouse event, and it repaints only what changed since it last drew.
#pragma once

#include <QLineF>
#include <QPixmap>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <unordered_map>
#include <vector>

namespace align {

class ElementCanvas;
class Selection;
class DragCoordinator;
class RubberBand;

class Overlay : public QWidget {
public:
    Overlay(const ElementCanvas& canvas, const Selection& selection, const DragCoordinator& drag,
            const RubberBand& band);

    // Where the overlay lies: a widget and the area of it to cover. The area
    // must contain the canvas frame; drawing outside the area is cut off. A null
    // area covers the whole widget, whatever size it takes later.
    void place(QWidget* parent, const QRect& area);
    // Takes over what is to be shown now and repaints where it changed.
    void refresh();

    // One thing drawn, in the overlay's pixels.
    struct Mark {
        enum Kind { Guide, Gap, EqualGap, Label, Frame, Band };
        Kind kind = Guide;
        QLineF line = {}; // Guide, Gap, EqualGap
        QRectF rect = {}; // Label, Frame, Band
        QString text = {};
        friend bool operator==(const Mark&, const Mark&) = default;
    };
    const std::vector<Mark>& marks() const { return m_marks; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointF toScreen(QPointF device) const;
    static QRegion regionOf(const Mark& mark);
    const QPixmap& label(const QString& text, bool equal);

    const ElementCanvas& m_canvas;
    const Selection& m_selection;
    const DragCoordinator& m_drag;
    const RubberBand& m_band;
    QPointF m_origin; // the screen's top-left corner, at the last refresh
    double m_scale = 1;
    std::vector<Mark> m_marks;
    std::unordered_map<QString, QPixmap> m_labels; // drawn once per text
};

} // namespace align

// Draws over the canvas what lining up by eye shows: the guides of the
// alignments in force and the gaps while a drag runs, the dashed frames of the
// selected elements besides the active one, and the rubber band. It takes no
// mouse event, and it repaints only where its drawing changed.
#pragma once

#include <QRegion>
#include <QWidget>
#include <optional>
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
    // must contain the canvas frame; drawing outside the area is cut off.
    void place(QWidget* parent, const QRect& area);
    // Takes over what is to be shown now and repaints where it changed.
    void refresh();

    // What is drawn now (read by tests).
    struct GapMark {
        QLineF line;
        QRectF label;
        QString text;
        bool equal = false;
    };
    const std::vector<QLineF>& guides() const { return m_guides; }
    const std::vector<GapMark>& gapMarks() const { return m_gaps; }
    const std::vector<QRectF>& frames() const { return m_frames; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointF toScreen(QPointF device) const;
    QRegion covered() const;

    const ElementCanvas& m_canvas;
    const Selection& m_selection;
    const DragCoordinator& m_drag;
    const RubberBand& m_band;
    std::vector<QLineF> m_guides;
    std::vector<GapMark> m_gaps;
    std::vector<QRectF> m_frames;
    std::optional<QRectF> m_bandRect;
    QRegion m_drawn; // what the last refresh painted on
};

} // namespace align

// Selecting by a rubber band: a drag with the left button that starts on the
// map outside every element selects each shown element the band touches
// (with Shift, in addition to those already selected).
#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <functional>
#include <optional>
#include <vector>

namespace align {

class ElementCanvas;
class Selection;

class RubberBand : public QObject {
public:
    RubberBand(QWidget& map, const ElementCanvas& canvas, Selection& selection);

    // The band while it is drawn, in device pixels.
    std::optional<QRectF> band() const;
    // The shown elements a band touches.
    std::vector<int> touched(const QRectF& band) const;

    bool enabled = true;
    std::function<void()> changed; // the band moved, appeared or went

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish(bool adding);

    const ElementCanvas& m_canvas;
    Selection& m_selection;
    std::optional<QPointF> m_start;
    QPointF m_end;
};

} // namespace align

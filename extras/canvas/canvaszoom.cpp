#include "extras/canvas/canvaszoom.h"

#include "app/Global.h"
#include "extras/canvas/windowarrangement.h"
#include "extras/shared/shortcuts.h"
#include "extras/shared/title.h"
#include "resources/canvasview.h"
#include "resources/mainform.h"

#include <QApplication>
#include <QScrollBar>
#include <algorithm>
#include <vector>

namespace canvas {

namespace {

const QString kSection = QStringLiteral("Ansicht");
const QString kZoomKey = QStringLiteral("Zoom");
const QString kGridKey = QStringLiteral("Raster");

// The canvas controls (pictures and frames), back to front.
std::vector<QWidget*> canvasControls(const ui::MainForm& window) {
    std::vector<QWidget*> controls;
    for (QObject* child : window.children())
        if (dynamic_cast<ui::ImageControl*>(child) || dynamic_cast<ui::ShapeControl*>(child))
            controls.push_back(static_cast<QWidget*>(child));
    return controls;
}

int levelIndex(int percent) {
    const auto& levels = CanvasZoom::kLevels;
    const auto at = std::find(levels.begin(), levels.end(), percent);
    return at == levels.end() ? 0 : int(at - levels.begin());
}

} // namespace

CanvasZoom::CanvasZoom(ui::MainForm& window) : m_window(window) {
    // The frame at 1:1, and what the canvas area shows around it: up to the
    // controls at the right and to the window's bottom edge.
    const QRect frame = window.Shape1->geometry();
    std::vector<QWidget*> controls = canvasControls(window);
    int controlsLeft = window.width();
    for (QObject* child : window.children())
        if (auto* w = qobject_cast<QWidget*>(child);
            w && std::find(controls.begin(), controls.end(), w) == controls.end())
            controlsLeft = std::min(controlsLeft, w->x());
    const QMargins margin(frame.left(), frame.top(), controlsLeft - frame.right() - 1,
                          window.height() - frame.bottom() - 1);
    m_view = new ui::CanvasView(window, controls, frame, margin); // owned by the window
    m_arrangement = std::make_unique<WindowArrangement>(window, *m_view);
    connect(m_view, &ui::CanvasView::zoomStepRequested, this,
            [this](int steps, QPoint anchor) { step(steps, anchor); });
    m_keys = std::make_unique<WindowShortcuts>(window);
    bindKeys();
    // The remembered zoom comes with the window's first showing, not before: a
    // window that is never shown (the renderer's) draws at 1:1.
    window.Load.bind(this, [this] { restoreSettings(); });
}

CanvasZoom::~CanvasZoom() {
    m_window.Load.unbind(this);
}

void CanvasZoom::bindKeys() {
    const auto ctrl = [](Qt::Key key, Qt::KeyboardModifiers more = {}) {
        return QKeyCombination(Qt::ControlModifier | more, key);
    };
    // On many keyboards Plus and the apostrophe need Shift.
    for (Qt::KeyboardModifiers more :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        m_keys->add(ctrl(Qt::Key_Plus, more), [this] { step(+1); });
        m_keys->add(ctrl(Qt::Key_Equal, more), [this] { step(+1); });
        m_keys->add(ctrl(Qt::Key_Apostrophe, more), [this] { toggleGrid(); });
    }
    m_keys->add(ctrl(Qt::Key_Minus), [this] { step(-1); });
    m_keys->add(ctrl(Qt::Key_0), [this] { setPercent(100); });
}

int CanvasZoom::percent() const {
    return m_view->zoom() * 100;
}

bool CanvasZoom::gridShown() const {
    return m_view->surface().gridShown();
}

void CanvasZoom::step(int steps, std::optional<QPoint> anchor) {
    const int last = int(kLevels.size()) - 1;
    const int index = std::clamp(levelIndex(percent()) + steps, 0, last);
    setPercent(kLevels[std::size_t(index)], anchor);
}

void CanvasZoom::setPercent(int percent, std::optional<QPoint> anchor) {
    if (percent == this->percent() || (levelIndex(percent) == 0 && percent != kLevels[0]))
        return;
    // Not in the middle of a drag: the element would jump under the pointer.
    if (QApplication::mouseButtons() != Qt::NoButton)
        return;
    apply(percent, anchor);
    remember();
}

void CanvasZoom::apply(int percent, std::optional<QPoint> anchor) {
    m_view->setZoom(percent / 100, anchor);
    const QSize before = m_window.size();
    m_arrangement->fitWindow();
    // The window system may give the window its new size later.
    m_view->settleAnchor(m_window.size() != m_arrangement->preferredSize() ||
                         m_window.size() != before);
    title::setSuffix(m_window, percent == 100 ? QString() : QStringLiteral(" (%1 %)").arg(percent));
    emit zoomChanged(percent);
}

void CanvasZoom::toggleGrid() {
    m_view->surface().setGridShown(!gridShown());
    remember();
}

void CanvasZoom::restoreSettings() {
    const QString file = Global::settingsFile();
    m_view->surface().setGridShown(
        Global::ReadIniValue(file, kSection, kGridKey, QStringLiteral("1")) != QLatin1String("0"));
    bool ok = false;
    const int percent = Global::ReadIniValue(file, kSection, kZoomKey, 100).toInt(&ok);
    if (ok && percent != 100 && levelIndex(percent) != 0) {
        apply(percent, std::nullopt);
        // A new start shows the canvas from its top left corner.
        m_view->settleAnchor(false);
        m_view->horizontalScrollBar()->setValue(0);
        m_view->verticalScrollBar()->setValue(0);
    }
}

void CanvasZoom::remember() const {
    const QString file = Global::settingsFile();
    Global::WriteIniValue(file, kSection, kZoomKey, QString::number(percent()));
    Global::WriteIniValue(file, kSection, kGridKey,
                          gridShown() ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace canvas

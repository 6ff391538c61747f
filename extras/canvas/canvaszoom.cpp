#include "extras/canvas/canvaszoom.h"

#include "app/Global.h"
#include "extras/canvas/activefollow.h"
#include "extras/canvas/canvasaccessible.h"
#include "extras/canvas/viewcentre.h"
#include "extras/canvas/windowarrangement.h"
#include "extras/shared/shortcuts.h"
#include "extras/shared/title.h"
#include "resources/canvasview.h"
#include "resources/mainform.h"
#include "resources/screen.h"
#include "resources/selectionframe.h"

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
    installCanvasAccessibility(); // before the canvas area is first seen
    m_view = new ui::CanvasView(window, controls, frame, margin); // owned by the window
    m_view->setAccessibleName(QStringLiteral("Bildschirm des Geräts"));
    m_view->setAccessibleDescription(
        QStringLiteral("Die Elemente der Ansicht. Pfeiltasten verschieben das aktive Element, "
                       "Strg+Tab wählt das nächste."));
    m_arrangement = std::make_unique<WindowArrangement>(window, *m_view);
    m_follow = std::make_unique<ActiveFollow>(window, *m_view);
    // Enlarged, the selection lies outside the element, with handles.
    window.Selector->setDrawnEnlarged(false);
    new ui::SelectionFrame(*window.Selector, [&window]() -> ui::ImageControl* {
        bool ok = false;
        const int index = window.Selector->Tag().toInt(&ok);
        return ok ? window.elementPicture(index) : nullptr;
    }); // owned by the canvas
    connect(m_view, &ui::CanvasView::zoomStepRequested, this,
            [this](int steps, QPoint anchor) { step(steps, anchor); });
    connect(m_view, &ui::CanvasView::anchorSettled, this, [this] {
        if (m_pointerZoom)
            followPointer();
    });
    window.installEventFilter(this);
    m_keys = std::make_unique<WindowShortcuts>(window);
    bindKeys();
    // The remembered zoom comes with the window's first showing, not before: a
    // window that is never shown (the renderer's) draws at 1:1.
    window.Load.bind(this, [this] { restoreSettings(); });
}

CanvasZoom::~CanvasZoom() {
    m_window.removeEventFilter(this);
    m_window.Load.unbind(this);
}

bool CanvasZoom::eventFilter(QObject* watched, QEvent* event) {
    // The window lost the pointer to another program (a window manager moving it on
    // Alt+drag, another window coming up): a press on an element ends there.
    if (watched == &m_window && event->type() == QEvent::WindowDeactivate)
        ui::ImageControl::endLostPress();
    return false;
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
    m_pointerZoom = anchor.has_value();
    std::optional<QRectF> shown;
    if (!anchor) {
        // From the keys: the active element stays where it stands in the viewport
        // when it is in view, and is in view afterwards.
        const int active = m_follow->active();
        if (active >= 0 && !m_window.elementPicture(active)->isHidden()) {
            const QRectF element = m_follow->deviceRect(active);
            const QRect onSurface = m_view->surfaceRect(element);
            const QPoint scroll(m_view->horizontalScrollBar()->value(),
                                m_view->verticalScrollBar()->value());
            const QPoint centre = onSurface.center() - scroll;
            if (m_view->viewport()->rect().contains(centre))
                anchor = centre;
            shown = element;
        }
    }
    m_view->setZoom(percent / 100, anchor, shown);
    m_arrangement->fitWindow(m_pointerZoom ? WindowArrangement::From::Here
                                           : WindowArrangement::From::UsersPlace);
    // The window system may give the window its new size later: the canvas area
    // then still waits for its new place.
    const bool resizing = m_view->geometry() !=
                          m_arrangement->arrangementFor(m_arrangement->preferredSize()).canvasArea;
    if (!resizing) {
        m_view->keepAnchor(); // where the window stands now
        if (m_pointerZoom)
            followPointer();
    }
    m_view->settleAnchor(resizing);
    title::setSuffix(m_window, percent == 100 ? QString() : QStringLiteral(" (%1 %)").arg(percent));
    emit zoomChanged(percent);
}

void CanvasZoom::followPointer() {
    const QPoint miss = m_view->anchorMiss();
    if (miss.isNull())
        return;
    m_arrangement->shiftWindow(miss);
    m_view->keepAnchor(); // what the screen's edge left to do
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

void CanvasZoom::zoomToFit(const QRectF& device) {
    if (device.isEmpty() || QApplication::mouseButtons() != Qt::NoButton)
        return;
    const QSize area = m_arrangement->largestCanvasArea();
    int fitting = kLevels.front();
    for (int level : kLevels)
        if (device.width() * level / 100 <= area.width() &&
            device.height() * level / 100 <= area.height())
            fitting = level;
    setPercent(fitting);
    // The centre decides, not the place the zoom held.
    m_view->settleAnchor(false);
    centreWhileSettling(*m_view, device.center());
}

void CanvasZoom::zoomToScreen() {
    const ui::ShapeControl& frame = *m_window.Shape1; // at 1:1, in twips
    zoomToFit(
        QRectF(0, 0, frame.Width() / ui::kTwipsPerPixel, frame.Height() / ui::kTwipsPerPixel));
}

} // namespace canvas

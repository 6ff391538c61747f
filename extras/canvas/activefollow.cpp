#include "extras/canvas/activefollow.h"

#include "extras/canvas/canvasaccessible.h"
#include "resources/canvasview.h"
#include "resources/mainform.h"
#include "resources/screen.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace canvas {

ActiveFollow::ActiveFollow(ui::MainForm& window, ui::CanvasView& view)
    : m_window(window), m_view(view) {
    window.Selector->TagChanged.bind(this, [this] { queueCheck(); });
}

ActiveFollow::~ActiveFollow() {
    m_window.Selector->TagChanged.unbind(this);
    if (m_waitingForRelease)
        qApp->removeEventFilter(this);
}

int ActiveFollow::active() const {
    bool ok = false;
    const int index = m_window.Selector->Tag().toInt(&ok);
    return ok && index >= 0 && index < ui::MainForm::kElementCount ? index : -1;
}

QRectF ActiveFollow::deviceRect(int index) const {
    const ui::ImageControl* picture = m_window.elementPicture(index);
    const double k = ui::kTwipsPerPixel;
    return {(picture->Left() - m_window.Shape1->Left()) / k,
            (picture->Top() - m_window.Shape1->Top()) / k, picture->Width() / k,
            picture->Height() / k};
}

void ActiveFollow::onLayoutLoaded() {
    m_known = active();
}

void ActiveFollow::queueCheck() {
    if (m_queued)
        return;
    m_queued = true;
    // After the event that chose it: the frame and the boxes have followed by then.
    QTimer::singleShot(0, this, [this] {
        m_queued = false;
        check();
    });
}

void ActiveFollow::check() {
    const int index = active();
    if (index == m_known)
        return;
    if (QApplication::mouseButtons() != Qt::NoButton) {
        // Chosen by a press: the canvas must not move under the pointer before the release.
        if (!m_waitingForRelease) {
            m_waitingForRelease = true;
            qApp->installEventFilter(this);
        }
        return;
    }
    m_known = index;
    if (index < 0)
        return;
    if (!m_window.elementPicture(index)->isHidden())
        m_view.showDeviceRect(deviceRect(index), kMargin);
    announceActive(m_view, index);
}

bool ActiveFollow::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && m_waitingForRelease) {
        m_waitingForRelease = false;
        qApp->removeEventFilter(this);
        queueCheck();
    }
    return false;
}

} // namespace canvas

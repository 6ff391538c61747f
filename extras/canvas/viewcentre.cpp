#include "extras/canvas/viewcentre.h"

#include "resources/canvasview.h"

#include <QEvent>
#include <QScrollBar>
#include <QTimer>
#include <cmath>

namespace canvas {

namespace {

constexpr int kSettleMs = 1000;
const QString kKeeperName = QStringLiteral("centreKeeper");

// Lives on the view (its child) until the window has settled.
class CentreKeeper : public QObject {
public:
    CentreKeeper(ui::CanvasView& view, const QPointF& device)
        : QObject(&view), m_view(view), m_device(device) {
        setObjectName(kKeeperName);
        view.installEventFilter(this);
        for (QScrollBar* bar : {view.horizontalScrollBar(), view.verticalScrollBar()})
            connect(bar, &QScrollBar::actionTriggered, this, &QObject::deleteLater);
        QTimer::singleShot(kSettleMs, this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // After the view has laid out its new size: its scroll ranges are new then.
        if (event->type() == QEvent::Resize)
            QTimer::singleShot(0, this, [this] { centreOn(m_view, m_device); });
        return false;
    }

private:
    ui::CanvasView& m_view;
    QPointF m_device;
};

} // namespace

void centreOn(ui::CanvasView& view, const QPointF& device) {
    const QPointF content = view.surface().fromDevice(device);
    const QSize viewport = view.viewport()->size();
    view.horizontalScrollBar()->setValue(int(std::lround(content.x())) - viewport.width() / 2);
    view.verticalScrollBar()->setValue(int(std::lround(content.y())) - viewport.height() / 2);
}

void centreWhileSettling(ui::CanvasView& view, const QPointF& device) {
    delete view.findChild<QObject*>(kKeeperName, Qt::FindDirectChildrenOnly);
    centreOn(view, device);
    new CentreKeeper(view, device); // owned by the view; goes by itself
}

} // namespace canvas

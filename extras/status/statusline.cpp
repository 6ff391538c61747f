#include "extras/status/statusline.h"

#include "app/Global.h"
#include "resources/canvasview.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <cmath>

namespace status {

namespace {

constexpr int kMessageMs = 10000;

QLabel* addField(QStatusBar& bar, const char* name, const QString& accessibleName) {
    auto* field = new QLabel(&bar); // owned by the bar
    field->setObjectName(QString::fromLatin1(name));
    field->setAccessibleName(accessibleName);
    field->setContentsMargins(8, 0, 8, 0);
    bar.addPermanentWidget(field);
    return field;
}

QString fileNames(const std::vector<SavedFile>& files, bool saved) {
    QStringList names;
    for (const SavedFile& file : files)
        if (file.complete == saved)
            names << QFileInfo(file.path).fileName();
    return names.join(QStringLiteral(", "));
}

} // namespace

StatusLine::StatusLine(QWidget& window, ui::CanvasSurface& canvas)
    : m_window(window), m_canvas(canvas), m_bar(new QStatusBar(&window)) {
    m_bar->setObjectName(QStringLiteral("statusBar"));
    m_bar->setAccessibleName(QStringLiteral("Statusleiste"));
    m_pointer = addField(*m_bar, "pointerField", QStringLiteral("Zeigerposition in Gerätepixeln"));
    m_selection = addField(*m_bar, "selectionField", QStringLiteral("Aktives Element"));
    m_zoom = addField(*m_bar, "zoomField", QStringLiteral("Zoom"));
    showPointer(std::nullopt);
    refreshSelection();
    showZoom(100);
    qApp->installEventFilter(this);
}

StatusLine::~StatusLine() {
    qApp->removeEventFilter(this);
}

void StatusLine::setSelectionSource(std::function<SelectionState()> source) {
    m_source = std::move(source);
    refreshSelection();
}

QString StatusLine::pointerText() const {
    return m_pointer->text();
}
QString StatusLine::selectionText() const {
    return m_selection->text();
}
QString StatusLine::zoomText() const {
    return m_zoom->text();
}
QString StatusLine::message() const {
    return m_bar->currentMessage();
}

void StatusLine::showPointer(std::optional<QPoint> device) {
    m_pointer->setText(device ? QStringLiteral("Zeiger: %1, %2").arg(device->x()).arg(device->y())
                              : QStringLiteral("Zeiger: –"));
}

void StatusLine::showZoom(int percent) {
    m_zoom->setText(QStringLiteral("Zoom: %1 %").arg(percent));
}

void StatusLine::showSaved(const std::vector<SavedFile>& files) {
    const QString failed = fileNames(files, false);
    const QString saved = fileNames(files, true);
    if (failed.isEmpty())
        m_bar->showMessage(QStringLiteral("Gespeichert: ") + saved, kMessageMs);
    else
        m_bar->showMessage(QStringLiteral("Nicht gespeichert: ") + failed +
                               (saved.isEmpty()
                                    ? QString()
                                    : QStringLiteral(" (gespeichert: ") + saved + QLatin1Char(')')),
                           kMessageMs);
}

void StatusLine::queueSelectionRefresh() {
    if (m_refreshQueued)
        return;
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshQueued = false;
        refreshSelection();
    });
}

void StatusLine::refreshSelection() {
    const SelectionState state = m_source ? m_source() : SelectionState{};
    QString text;
    if (state.active < 0)
        text = QStringLiteral("Kein Element aktiv");
    else if (state.selected > 1)
        text = QStringLiteral("Aktiv: %1 (%2 ausgewählt)")
                   .arg(Global::elementName(state.active))
                   .arg(state.selected);
    else
        text = QStringLiteral("Aktiv: ") + Global::elementName(state.active);
    m_selection->setText(text);
}

bool StatusLine::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &m_window)
            break;
        // The event passes up from the widget under the pointer: one place for all.
        const QPointF global = static_cast<QMouseEvent*>(event)->globalPosition();
        const QWidget* viewport = m_canvas.parentWidget();
        const QPoint inViewport = viewport->mapFromGlobal(global.toPoint());
        if (!viewport->rect().contains(inViewport)) {
            showPointer(std::nullopt);
            break;
        }
        const QPointF device = m_canvas.toDevice(m_canvas.mapFromGlobal(global));
        showPointer(QPoint(int(std::floor(device.x())), int(std::floor(device.y()))));
        break;
    }
    case QEvent::Leave:
        if (watched == &m_window)
            showPointer(std::nullopt);
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
        queueSelectionRefresh();
        break;
    default:
        break;
    }
    return false;
}

} // namespace status

#include "resources/form.h"

#include "resources/input.h"
#include "resources/screen.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {

Form::Form(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    qApp->installEventFilter(this);
}

Form::~Form() {
    qApp->removeEventFilter(this);
}

QWidget* Form::Controls(const QString& name) const {
    if (name.isEmpty())
        return nullptr;
    // The window's own controls first, then those that stand in a container of it
    // (the canvas area).
    if (auto* control = findChild<QWidget*>(name, Qt::FindDirectChildrenOnly))
        return control;
    return findChild<QWidget*>(name);
}

void Form::showEvent(QShowEvent* event) {
    if (!m_loaded) {
        m_loaded = true;
        Load.raise();
    }
    QWidget::showEvent(event);
}

void Form::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    Terminate.raise(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void Form::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    MouseMove.raise(buttonBits(event->buttons()), shiftBits(event->modifiers()), float(p.x()),
                    float(p.y()));
    QWidget::mouseMoveEvent(event);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyRelease) {
        // Between two presses: the next press is a new one, even where it reuses
        // the memory of the last (key events live on the stack of their sender).
        m_lastKey = nullptr;
        return false;
    }
    if (!m_keyPreview || event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this)
        return false;
    // A key that the receiver ignored travels on to its parent as the same
    // event: it was previewed already at the first delivery. A press that comes
    // again to the same widget is a new one.
    if (event == m_lastKey && m_lastKeyTarget && widget == m_lastKeyTarget->parentWidget()) {
        m_lastKeyTarget = widget;
        return false;
    }
    m_lastKey = event;
    m_lastKeyTarget = widget;
    const auto* key = static_cast<QKeyEvent*>(event);
    const int code = keyCode(key->key());
    if (code != 0)
        KeyDown.raise(code, shiftBits(key->modifiers()));
    return false;
}

} // namespace ui

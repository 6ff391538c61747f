#include "extras/shared/shortcuts.h"

#include <QApplication>
#include <QKeyEvent>

WindowShortcuts::WindowShortcuts(QWidget& window) : m_window(&window) {
    qApp->installEventFilter(this);
}

WindowShortcuts::~WindowShortcuts() {
    qApp->removeEventFilter(this);
}

void WindowShortcuts::add(QKeyCombination keys, std::function<void()> action) {
    m_actions.emplace_back(keys, std::move(action));
}

const std::function<void()>* WindowShortcuts::actionFor(const QEvent* event) const {
    const auto* key = static_cast<const QKeyEvent*>(event);
    const QKeyCombination pressed(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key()));
    for (const auto& [keys, action] : m_actions)
        if (keys == pressed)
            return &action;
    return nullptr;
}

bool WindowShortcuts::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    if (!watched->isWidgetType() || !m_window ||
        static_cast<QWidget*>(watched)->window() != m_window)
        return false;
    const std::function<void()>* action = actionFor(event);
    if (!action)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Ours: delivered as a key press, which is taken below.
        event->accept();
        return true;
    }
    event->accept();
    (*action)();
    return true;
}

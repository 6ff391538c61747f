// The Ctrl key combinations of a window. They are taken before the focused
// control sees them, so that they act the same wherever the focus is (a text
// box's own undo keys included).
#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class WindowShortcuts : public QObject {
public:
    explicit WindowShortcuts(QWidget& window);
    ~WindowShortcuts() override;

    void add(QKeyCombination keys, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const std::function<void()>* actionFor(const QEvent* event) const;

    QPointer<QWidget> m_window;
    std::vector<std::pair<QKeyCombination, std::function<void()>>> m_actions;
};

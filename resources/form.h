// A top-level window of the program: a load event before it is first shown, a
// terminate event when it closes, key preview, mouse moves over its bare surface
// and lookup of its controls by name.
#pragma once

#include "resources/event.h"

#include <QPointer>
#include <QWidget>

namespace ui {

class Form : public QWidget {
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // The control with this object name, or nullptr; also one inside a container.
    QWidget* Controls(const QString& name) const;
    template <typename T> T* control(const QString& name) const {
        return dynamic_cast<T*>(Controls(name));
    }

    // Key preview: KeyDown sees every key press before the focused control, which
    // still receives it afterwards. Each press reaches the handler exactly once.
    bool KeyPreview() const { return m_keyPreview; }
    void setKeyPreview(bool on) { m_keyPreview = on; }

    Event<> Load; // before the first showing
    // When the window is about to close; a handler may set Cancel to keep it open.
    Event<bool&> Terminate;
    Event<int, int> KeyDown;                 // (KeyCode, Shift)
    Event<int, int, float, float> MouseMove; // (Button, Shift, X, Y) over the bare surface

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_loaded = false;
    bool m_keyPreview = false;
    // The key event last previewed and the widget it was delivered to: when Qt
    // propagates an unhandled key to the parents, the same event comes again.
    const QEvent* m_lastKey = nullptr;
    QPointer<const QWidget> m_lastKeyTarget;
};

} // namespace ui

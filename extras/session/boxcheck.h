// The coordinate boxes say when the element does not take what they hold: a box
// whose text is no number, lies beyond what the element can hold, or is a negative
// width or height gets a red frame and a tip that says why, while the element
// keeps its last good value. A box that the element marked as not taken itself
// (the dynamic property "notTaken", holding the reason) shows the same.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

namespace ui {
class MainForm;
class TextBox;
} // namespace ui

class BoxCheck : public QObject {
public:
    explicit BoxCheck(ui::MainForm& window);
    ~BoxCheck() override;

    // Why the element does not take the box's text, or nothing when it does.
    QString reason(const ui::TextBox& box) const;
    // Whether the box shows its red frame now.
    bool marked(const ui::TextBox& box) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Box {
        QPointer<ui::TextBox> box;
        double origin = 0; // twips of the canvas frame's corner; 0 for a size
        bool size = false;
        QPointer<QWidget> mark; // the red frame, a child of the box
        QString ownTip;         // the box's tip while it is taken
        bool shown = false;
    };
    void refresh(Box& box);
    void refreshAll();
    const Box* find(const ui::TextBox& box) const;

    ui::MainForm& m_window;
    std::array<Box, 4> m_boxes;
};

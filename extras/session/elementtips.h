// Tool tips over the element pictures: the element's name and its x, y, cx and
// cy as the coordinate boxes would show them.
#pragma once

#include <QObject>
#include <functional>

namespace ui {
class MainForm;
}

class ElementTips : public QObject {
public:
    explicit ElementTips(ui::MainForm& form);

    // The tip of element i, or an empty text while it has no object yet.
    static QString textFor(int index);

    // A further line for the tip of element i (may be empty).
    std::function<QString(int)> note;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

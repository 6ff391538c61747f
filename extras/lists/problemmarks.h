// The small red corner that marks an element with a problem on the canvas: a child of
// the element's picture at its top right corner, so that it moves, hides and stacks
// with the picture and lets the mouse through to it.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>

namespace ui {
class MainForm;
}

namespace lists {

class CornerMark : public QWidget {
public:
    static constexpr int kSize = 6; // pixels

    explicit CornerMark(QWidget* picture);
    // The same mark as an icon, for lists.
    static QIcon icon();

protected:
    void paintEvent(QPaintEvent* event) override;
};

class ProblemMarks : public QObject {
public:
    static constexpr int kCount = 25;

    explicit ProblemMarks(ui::MainForm& form);
    ~ProblemMarks() override;

    // Marks exactly the elements whose entry is set.
    void show(const std::array<bool, kCount>& marked);
    bool marked(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void place(CornerMark& mark);

    ui::MainForm& m_form;
    std::array<QPointer<CornerMark>, kCount> m_marks;
};

} // namespace lists

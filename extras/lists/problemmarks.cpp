#include "extras/lists/problemmarks.h"

#include "resources/mainform.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>

namespace lists {

namespace {

const QColor kMarkColour(220, 0, 0);

void drawCorner(QPainter& painter, int size) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kMarkColour);
    const QPoint corner[] = {{0, 0}, {size, 0}, {size, size}};
    painter.drawPolygon(corner, 3);
}

} // namespace

CornerMark::CornerMark(QWidget* picture) : QWidget(picture) {
    setObjectName(QStringLiteral("ProblemMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(kSize, kSize);
}

QIcon CornerMark::icon() {
    QPixmap pixmap(10, 10);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawCorner(painter, 10);
    return QIcon(pixmap);
}

void CornerMark::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawCorner(painter, kSize);
}

ProblemMarks::ProblemMarks(ui::MainForm& form) : m_form(form) {}

ProblemMarks::~ProblemMarks() {
    for (QPointer<CornerMark>& mark : m_marks)
        delete mark.data();
}

bool ProblemMarks::marked(int index) const {
    return index >= 0 && index < kCount && m_marks[std::size_t(index)];
}

void ProblemMarks::place(CornerMark& mark) {
    mark.move(mark.parentWidget()->width() - CornerMark::kSize, 0);
}

void ProblemMarks::show(const std::array<bool, kCount>& marked) {
    for (int i = 0; i < kCount; ++i) {
        QPointer<CornerMark>& mark = m_marks[std::size_t(i)];
        if (marked[std::size_t(i)] == bool(mark))
            continue;
        QWidget* picture = m_form.elementPicture(i);
        if (!picture)
            continue;
        if (mark) {
            picture->removeEventFilter(this);
            delete mark.data();
            continue;
        }
        mark = new CornerMark(picture); // owned by the picture
        place(*mark);
        mark->show();
        picture->installEventFilter(this);
    }
}

bool ProblemMarks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize)
        for (const QPointer<CornerMark>& mark : m_marks)
            if (mark && mark->parent() == watched)
                place(*mark);
    return false;
}

} // namespace lists

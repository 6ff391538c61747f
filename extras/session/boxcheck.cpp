#include "extras/session/boxcheck.h"

#include "resources/errors.h"
#include "resources/mainform.h"
#include "resources/numbers.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

namespace {

constexpr char kNotTaken[] = "notTaken";
constexpr int kTwips = 15;

// A red frame over the box's own border.
class RedFrame : public QWidget {
public:
    explicit RedFrame(QWidget& box) : QWidget(&box) {
        setObjectName(QStringLiteral("notTakenFrame"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(box.rect());
        hide();
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        setMask(QRegion(rect()).subtracted(rect().adjusted(2, 2, -2, -2)));
    }
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(220, 0, 0)); }
};

bool anyElementActive(const ui::MainForm& window) {
    bool ok = false;
    return window.Selector->Tag().toInt(&ok) >= 0 && ok;
}

} // namespace

BoxCheck::BoxCheck(ui::MainForm& window) : m_window(window) {
    const std::array<std::pair<ui::TextBox*, double>, 4> boxes{
        {{window.txtX, window.Shape1->Left()},
         {window.txtY, window.Shape1->Top()},
         {window.txtCX, -1},
         {window.txtCY, -1}}};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        m_boxes[i].box = boxes[i].first;
        m_boxes[i].size = boxes[i].second < 0;
        m_boxes[i].origin = std::max(0.0, boxes[i].second);
    }
    for (Box& b : m_boxes) {
        b.mark = new RedFrame(*b.box); // owned by the box
        b.box->installEventFilter(this);
        connect(b.box, &QLineEdit::textChanged, this, [this, &b] { refresh(b); });
    }
    // Empty boxes before the first load are no fault: nothing is there to take them.
    window.Selector->TagChanged.bind(this, [this] { refreshAll(); });
}

BoxCheck::~BoxCheck() {
    m_window.Selector->TagChanged.unbind(this);
    for (Box& b : m_boxes)
        if (b.box)
            b.box->removeEventFilter(this);
}

const BoxCheck::Box* BoxCheck::find(const ui::TextBox& box) const {
    for (const Box& b : m_boxes)
        if (b.box == &box)
            return &b;
    return nullptr;
}

QString BoxCheck::reason(const ui::TextBox& box) const {
    const Box* b = find(box);
    if (!b || !anyElementActive(m_window))
        return {};
    // The element's own verdict, where it gave one.
    const QVariant own = box.property(kNotTaken);
    if (own.isValid())
        return own.toString();
    const QString keeps = QStringLiteral(" Das Element behält seinen Wert.");
    const QString text = box.text();
    double value = 0;
    try {
        value = ui::CDbl(text);
    } catch (const ui::RuntimeError&) {
        if (text.trimmed().isEmpty())
            return QStringLiteral("Kein Wert.") + keeps;
        return QStringLiteral("„%1“ ist keine Zahl.").arg(text) + keeps;
    }
    try {
        static_cast<void>(ui::CLng(value * kTwips + b->origin));
    } catch (const ui::RuntimeError&) {
        return QStringLiteral("%1 ist größer, als das Element halten kann.").arg(text.trimmed()) +
               keeps;
    }
    if (b->size && value < 0)
        return (&box == m_window.txtCX ? QStringLiteral("Die Breite")
                                       : QStringLiteral("Die Höhe")) +
               QStringLiteral(" kann nicht negativ sein.") + keeps;
    return {};
}

bool BoxCheck::marked(const ui::TextBox& box) const {
    const Box* b = find(box);
    return b && b->shown;
}

void BoxCheck::refresh(Box& b) {
    if (!b.box)
        return;
    const QString why = reason(*b.box);
    const bool show = !why.isEmpty();
    if (show && !b.shown)
        b.ownTip = b.box->toolTip();
    if (show)
        b.box->setToolTip(why);
    else if (b.shown)
        b.box->setToolTip(b.ownTip);
    b.shown = show;
    if (b.mark) {
        b.mark->setGeometry(b.box->rect());
        b.mark->setVisible(show);
    }
}

void BoxCheck::refreshAll() {
    for (Box& b : m_boxes)
        refresh(b);
}

bool BoxCheck::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DynamicPropertyChange || event->type() == QEvent::Resize)
        for (Box& b : m_boxes)
            if (b.box == watched)
                refresh(b);
    return false;
}

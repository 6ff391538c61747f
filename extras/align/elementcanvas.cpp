#include "extras/align/elementcanvas.h"

#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "resources/errors.h"
#include "resources/mainform.h"
#include "resources/numbers.h"

#include <cmath>

namespace align {

namespace {

constexpr double kTwips = 15;
constexpr double kSame = 1e-6; // pixels

} // namespace

ElementCanvas::ElementCanvas(ui::MainForm& form) : m_form(form) {}

ui::ImageControl* ElementCanvas::picture(int index) const {
    if (index < 0 || index >= ui::MainForm::kElementCount)
        return nullptr;
    return m_form.elementPicture(index);
}

bool ElementCanvas::loaded() const {
    const auto& elements = programState().Elements;
    return elements.size() >= std::size_t(ui::MainForm::kElementCount);
}

int ElementCanvas::active() const {
    bool ok = false;
    const int index = m_form.Selector->Tag().toInt(&ok);
    return ok && index >= 0 && index < ui::MainForm::kElementCount ? index : -1;
}

void ElementCanvas::activate(int index) const {
    if (!loaded() || index < 0 || index >= ui::MainForm::kElementCount)
        return;
    try {
        elementAt(index).Select();
    } catch (const ui::RuntimeError&) {
    }
}

QRectF ElementCanvas::rect(int index) const {
    const ui::ImageControl* p = picture(index);
    if (!p)
        return {};
    return {(p->Left() - m_form.Shape1->Left()) / kTwips,
            (p->Top() - m_form.Shape1->Top()) / kTwips, p->Width() / kTwips, p->Height() / kTwips};
}

bool ElementCanvas::shown(int index) const {
    const ui::ImageControl* p = picture(index);
    return p && p->Visible() && !isHidden(index);
}

int ElementCanvas::linkedPartner(int index) {
    if (index == 3)
        return programState().CurrentView == 0 ? 20 : 19;
    if (index == 19 || index == 20)
        return 3;
    return -1;
}

void ElementCanvas::moveBy(int index, double dxTwips, double dyTwips) const {
    ui::ImageControl* p = picture(index);
    if (!p)
        return;
    p->setLeft(p->Left() + dxTwips);
    p->setTop(p->Top() + dyTwips);
}

void ElementCanvas::place(int index, const QRectF& px) const {
    ui::ImageControl* p = picture(index);
    if (!p)
        return;
    const QRectF now = rect(index);
    try {
        if (std::abs(now.left() - px.left()) > kSame)
            p->setLeft(px.left() * kTwips + m_form.Shape1->Left());
        if (std::abs(now.top() - px.top()) > kSame)
            p->setTop(px.top() * kTwips + m_form.Shape1->Top());
        if (std::abs(now.width() - px.width()) > kSame)
            p->setWidth(px.width() * kTwips);
        if (std::abs(now.height() - px.height()) > kSame)
            p->setHeight(px.height() * kTwips);
    } catch (const ui::RuntimeError&) {
        // a negative size is refused; the rest stays as it was
    }
}

void ElementCanvas::pullLinked(int index) const {
    if (!loaded() || linkedPartner(index) < 0)
        return;
    try {
        elementAt(index).pullLinkedElement();
    } catch (const ui::RuntimeError&) {
    }
}

double ElementCanvas::scale() const {
    const double s = screenScale ? screenScale() : 1.0;
    return s > 0 ? s : 1.0;
}

QPointF ElementCanvas::devicePoint(const QWidget& widget, QPointF pos) const {
    const ui::ShapeControl& frame = *m_form.Shape1;
    const QPointF inFrame = pos + QPointF(widget.mapTo(&m_form, QPoint(0, 0))) -
                            QPointF(frame.mapTo(&m_form, QPoint(0, 0)));
    return inFrame / scale();
}

} // namespace align

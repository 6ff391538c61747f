#include "extras/canvas/canvasaccessible.h"

#include "elements/programstate.h"
#include "resources/canvasview.h"
#include "resources/mainform.h"
#include "resources/numbers.h"

#include <QAccessibleWidget>
#include <vector>

namespace canvas {

namespace {

ui::MainForm* formOf(const QWidget* widget) {
    return widget ? dynamic_cast<ui::MainForm*>(widget->window()) : nullptr;
}

ui::CanvasView* viewOf(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* view = qobject_cast<ui::CanvasView*>(w))
            return view;
    return nullptr;
}

// The index of an element's picture, or -1 for any other widget.
int elementIndex(const QObject* object) {
    const QString name = object->objectName();
    if (!name.startsWith(QLatin1String("myImage")))
        return -1;
    bool ok = false;
    const int number = name.mid(7).toInt(&ok);
    return ok && number >= 1 && number <= ui::MainForm::kElementCount ? number - 1 : -1;
}

int activeIndex(const ui::MainForm& form) {
    bool ok = false;
    const int index = form.Selector->Tag().toInt(&ok);
    return ok ? index : -1;
}

// The pictures the view shows, in the order of the elements.
std::vector<ui::ImageControl*> shownPictures(const QWidget* view) {
    std::vector<ui::ImageControl*> pictures;
    if (const ui::MainForm* form = formOf(view))
        for (int i = 0; i < ui::MainForm::kElementCount; ++i)
            if (ui::ImageControl* picture = form->elementPicture(i);
                picture && !picture->isHidden())
                pictures.push_back(picture);
    return pictures;
}

class ElementAccessible : public QAccessibleWidget {
public:
    ElementAccessible(ui::ImageControl* picture, int index)
        : QAccessibleWidget(picture, QAccessible::Graphic), m_index(index) {}

    QAccessibleInterface* parent() const override {
        if (ui::CanvasView* view = viewOf(widget()))
            return QAccessible::queryAccessibleInterface(view);
        return QAccessibleWidget::parent();
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        const auto* picture = static_cast<const ui::ImageControl*>(widget());
        switch (t) {
        case QAccessible::Name:
            return programState().ElementCatalogue[std::size_t(m_index)].iniName;
        case QAccessible::Description: {
            const ui::MainForm* form = formOf(picture);
            if (!form)
                return {};
            const auto value = [](double twips) { return ui::StrSingle(float(twips / 15)); };
            return QStringLiteral("X %1, Y %2, Breite %3, Höhe %4")
                .arg(value(picture->Left() - form->Shape1->Left()),
                     value(picture->Top() - form->Shape1->Top()), value(picture->Width()),
                     value(picture->Height()));
        }
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.focusable = true;
        const ui::MainForm* form = formOf(widget());
        const bool active = form && activeIndex(*form) == m_index;
        s.selected = active;
        const ui::CanvasView* view = viewOf(widget());
        s.focused = active && view && view->hasFocus();
        return s;
    }

private:
    int m_index;
};

class CanvasAccessible : public QAccessibleWidget {
public:
    explicit CanvasAccessible(ui::CanvasView* view)
        : QAccessibleWidget(view, QAccessible::Canvas) {}

    int childCount() const override { return int(shownPictures(widget()).size()); }
    QAccessibleInterface* child(int index) const override {
        const auto pictures = shownPictures(widget());
        if (index < 0 || index >= int(pictures.size()))
            return nullptr;
        return QAccessible::queryAccessibleInterface(pictures[std::size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        const auto pictures = shownPictures(widget());
        for (std::size_t i = 0; i < pictures.size(); ++i)
            if (pictures[i] == child->object())
                return int(i);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        // The foremost element under the point: the last one stacked.
        for (QWidget* w = widget()->childAt(widget()->mapFromGlobal(QPoint(x, y))); w;
             w = w->parentWidget())
            if (elementIndex(w) >= 0 && formOf(w) == formOf(widget()))
                return QAccessible::queryAccessibleInterface(w);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const ui::MainForm* form = formOf(widget());
        if (!form || !widget()->hasFocus())
            return nullptr;
        const int active = activeIndex(*form);
        ui::ImageControl* picture = active >= 0 ? form->elementPicture(active) : nullptr;
        return picture && !picture->isHidden() ? QAccessible::queryAccessibleInterface(picture)
                                               : nullptr;
    }
};

QAccessibleInterface* factory(const QString& key, QObject* object) {
    if (key == QLatin1String("ui::CanvasView"))
        return new CanvasAccessible(static_cast<ui::CanvasView*>(object));
    auto* picture = dynamic_cast<ui::ImageControl*>(object);
    if (!picture)
        return nullptr;
    const int index = elementIndex(picture);
    if (index < 0 || !viewOf(picture))
        return nullptr;
    return new ElementAccessible(picture, index);
}

AnnouncementSink g_sink = &QAccessible::updateAccessibility;

} // namespace

AnnouncementSink installAnnouncementSink(AnnouncementSink sink) {
    const AnnouncementSink previous = g_sink;
    g_sink = sink ? sink : &QAccessible::updateAccessibility;
    return previous;
}

void installCanvasAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    static_cast<void>(installed);
}

void announceActive(ui::CanvasView& view, int index) {
    const ui::MainForm* form = formOf(&view);
    ui::ImageControl* picture = form ? form->elementPicture(index) : nullptr;
    if (!picture || picture->isHidden())
        return;
    QAccessibleInterface* element = QAccessible::queryAccessibleInterface(picture);
    if (!element)
        return;
    if (view.hasFocus()) {
        QAccessibleEvent focus(element, QAccessible::Focus);
        g_sink(&focus);
    }
    QAccessibleEvent chosen(element, QAccessible::Selection);
    g_sink(&chosen);
}

} // namespace canvas

#include "extras/align/alignsession.h"

#include "elements/draghook.h"
#include "elements/programstate.h"
#include "extras/align/canvasmenu.h"
#include "extras/align/dragcoordinator.h"
#include "extras/align/elementcanvas.h"
#include "extras/align/groupactions.h"
#include "extras/align/overlay.h"
#include "extras/align/rubberband.h"
#include "extras/align/selection.h"
#include "extras/shared/shortcuts.h"
#include "resources/mainform.h"

#include <QGuiApplication>
#include <QMouseEvent>

namespace align {

AlignSession::AlignSession(ui::MainForm& form)
    : m_form(form), m_canvas(std::make_unique<ElementCanvas>(form)),
      m_selection(std::make_unique<Selection>()),
      m_drag(std::make_unique<DragCoordinator>(*m_canvas, *m_selection)),
      m_actions(std::make_unique<GroupActions>(*m_canvas, *m_selection)),
      m_band(std::make_unique<RubberBand>(*form.Image1, *m_canvas, *m_selection)),
      m_menu(std::make_unique<CanvasMenu>(*form.Image1, *m_actions)),
      m_keys(std::make_unique<WindowShortcuts>(form)) {
    m_overlay = new Overlay(*m_canvas, *m_selection, *m_drag, *m_band); // given to a parent below
    placeOverlay(&form, defaultOverlayArea());
    const auto refresh = [this] {
        if (m_overlay)
            m_overlay->refresh();
    };
    m_selection->changed = refresh;
    m_drag->changed = refresh;
    m_band->changed = refresh;

    for (int i = 0; i < ui::MainForm::kElementCount; ++i)
        if (QWidget* picture = form.elementPicture(i)) {
            picture->setProperty("elementIndex", i);
            picture->installEventFilter(this);
        }
    form.Selector->installEventFilter(this);
    m_menu->snappingChanged = [this](bool on) { m_drag->snapping = on; };
    programState().dragObserver = [this](DragStep& step) { m_drag->adjust(step); };
    bindKeys();
}

AlignSession::~AlignSession() {
    programState().dragObserver = nullptr;
    delete m_overlay.data(); // it draws from what this session holds
}

QRect AlignSession::defaultOverlayArea() {
    // The canvas and what lies around it, up to the first control on its right.
    return QRect(0, 0, 4320 / 15, ui::MainForm::kClientHeight);
}

void AlignSession::setScreenScale(std::function<double()> f) {
    m_canvas->screenScale = std::move(f);
}

void AlignSession::setHiddenPredicate(std::function<bool(int)> f) {
    m_canvas->isHidden = std::move(f);
}

void AlignSession::setLockedPredicate(std::function<bool(int)> f) {
    m_canvas->isLocked = std::move(f);
}

void AlignSession::placeOverlay(QWidget* parent, const QRect& area) {
    if (m_overlay)
        m_overlay->place(parent, area);
}

void AlignSession::setEditBrackets(std::function<void()> begin, std::function<void(int)> end) {
    m_actions->beginEdit = std::move(begin);
    m_actions->endEdit = std::move(end);
}

void AlignSession::setEnabled(bool on) {
    m_enabled = on;
    m_band->enabled = on;
    m_menu->enabled = on;
    if (on)
        programState().dragObserver = [this](DragStep& step) { m_drag->adjust(step); };
    else
        programState().dragObserver = nullptr;
    m_selection->selectOnly(m_canvas->active());
    if (m_overlay)
        m_overlay->setVisible(on);
}

void AlignSession::setSnapping(bool on) {
    m_menu->setSnapping(on);
}

bool AlignSession::snapping() const {
    return m_drag->snapping;
}

void AlignSession::setSnappingChoice(const QKeySequence& keys, std::function<void(bool)> chosen) {
    m_menu->snappingKeys = keys;
    m_menu->snappingChosen = std::move(chosen);
}

void AlignSession::selectAllShown() {
    if (!m_enabled || !m_canvas->loaded())
        return;
    const int active = m_canvas->active();
    m_selection->selectOnly(active);
    for (int i = 0; i < ui::MainForm::kElementCount; ++i)
        if (i != active && m_canvas->shown(i))
            m_selection->add(i);
}

QRectF AlignSession::selectionBounds() const {
    QRectF bounds;
    if (!m_canvas->loaded())
        return bounds;
    for (int i : m_selection->members())
        if (m_canvas->shown(i))
            bounds |= m_canvas->rect(i);
    return bounds;
}

QMenu& AlignSession::canvasMenu() {
    return m_menu->menu();
}

void AlignSession::addCanvasMenuEntries(std::function<void(QMenu&)> add) {
    m_menu->addEntries(std::move(add));
}

void AlignSession::bindKeys() {
    for (const MenuEntry& entry : menuEntries()) {
        if (entry.keys == QKeyCombination(Qt::Key_unknown))
            continue;
        m_keys->add(entry.keys, [this, &entry] {
            if (m_enabled && m_canvas->loaded() && QGuiApplication::mouseButtons() == Qt::NoButton)
                runEntry(entry, *m_actions);
        });
    }
}

void AlignSession::onLayoutLoaded() {
    m_drag->end();
    m_selection->clear();
    m_selection->follow(m_canvas->active());
}

void AlignSession::onNudgeBegins() {
    if (m_enabled)
        m_actions->onNudgeBegins();
}

void AlignSession::nudgeApplied() {
    if (m_enabled)
        m_actions->nudgeApplied();
}

QString AlignSession::tipNote(int index) const {
    if (!m_enabled || !m_selection->contains(index) || m_selection->size() < 2)
        return {};
    QStringList hidden;
    for (int i : m_selection->members())
        if (!m_canvas->shown(i))
            hidden << programState().ElementCatalogue[std::size_t(i)].iniName;
    if (hidden.isEmpty())
        return {};
    return QStringLiteral("Die Auswahl bewegt auch ausgeblendete Elemente: ") +
           hidden.join(QStringLiteral(", "));
}

bool AlignSession::pressOnElement(int index, const QEvent* event) {
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    const int active = m_canvas->active();
    m_selection->follow(active);
    if (mouse->modifiers() & Qt::ControlModifier) {
        if (m_selection->contains(index) && m_selection->size() > 1) {
            // Taken out: the press goes no further, and the element added last
            // becomes the active one if this one was.
            m_selection->remove(index);
            if (index == active)
                m_canvas->activate(m_selection->members().back());
            return true;
        }
        m_selection->add(index);
    } else if (!m_selection->contains(index)) {
        m_selection->selectOnly(index);
    }
    if (mouse->button() == Qt::LeftButton)
        m_drag->begin(index);
    return false;
}

bool AlignSession::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        break;
    default:
        return false; // paints and the rest go by at once
    }
    if (!m_enabled || !m_canvas->loaded())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget == m_form.Selector) {
        // The active element changed or moved: the dashed frames follow.
        if ((type == QEvent::Move || type == QEvent::Resize) && !m_drag->dragging()) {
            m_selection->follow(m_canvas->active());
            if (m_overlay)
                m_overlay->refresh();
        }
        return false;
    }
    const QVariant property = widget->property("elementIndex");
    const int index = property.isValid() ? property.toInt() : -1;
    switch (type) {
    case QEvent::MouseButtonPress:
        return pressOnElement(index, event);
    case QEvent::MouseButtonDblClick:
        // The second click of a Ctrl double click leaves the selection as the first made it.
        if (static_cast<QMouseEvent*>(event)->modifiers() & Qt::ControlModifier)
            return true;
        return pressOnElement(index, event);
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            m_drag->end();
        return false;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (!m_drag->dragging() && m_selection->contains(index) && m_overlay)
            m_overlay->refresh();
        return false;
    default:
        return false;
    }
}

} // namespace align

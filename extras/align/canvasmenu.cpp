#include "extras/align/canvasmenu.h"

#include "extras/align/groupactions.h"

#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace align {

namespace {

QKeyCombination alt(Qt::Key key, Qt::KeyboardModifiers more = {}) {
    return QKeyCombination(Qt::AltModifier | more, key);
}

const QKeyCombination kMenuOnly(Qt::Key_unknown);

// The key as the menu shows it, in the words of a German keyboard.
QString keyText(QKeyCombination keys) {
    if (keys == kMenuOnly)
        return {};
    QString text = QStringLiteral("Alt+");
    if (keys.keyboardModifiers() & Qt::ShiftModifier)
        text += QStringLiteral("Umschalt+");
    return text + QKeySequence(keys.key()).toString(QKeySequence::PortableText);
}

} // namespace

std::span<const MenuEntry> menuEntries() {
    static const MenuEntry entries[] = {
        {QStringLiteral("Linke Kanten ausrichten"), alt(Qt::Key_A), false, Alignment::Left},
        {QStringLiteral("Rechte Kanten ausrichten"), alt(Qt::Key_D), false, Alignment::Right},
        {QStringLiteral("Obere Kanten ausrichten"), alt(Qt::Key_W), false, Alignment::Top},
        {QStringLiteral("Untere Kanten ausrichten"), alt(Qt::Key_S), false, Alignment::Bottom},
        {QStringLiteral("Horizontal zentrieren"), alt(Qt::Key_H), false, Alignment::CentresX},
        {QStringLiteral("Vertikal zentrieren"), alt(Qt::Key_V), false, Alignment::CentresY},
        {QStringLiteral("Gleiche Breite"), kMenuOnly, false, Alignment::SameWidth},
        {QStringLiteral("Gleiche Höhe"), kMenuOnly, false, Alignment::SameHeight},
        {QStringLiteral("Horizontal verteilen"), alt(Qt::Key_H, Qt::ShiftModifier), true,
         Alignment::Left, Axis::Horizontal},
        {QStringLiteral("Vertikal verteilen"), alt(Qt::Key_V, Qt::ShiftModifier), true,
         Alignment::Left, Axis::Vertical},
    };
    return entries;
}

bool runEntry(const MenuEntry& entry, GroupActions& actions) {
    return entry.distributes ? actions.distribute(entry.axis) : actions.align(entry.alignment);
}

CanvasMenu::CanvasMenu(QWidget& map, GroupActions& actions) : m_actions(actions) {
    map.installEventFilter(this);
}

CanvasMenu::~CanvasMenu() = default;

QMenu& CanvasMenu::menu() {
    if (!m_menu)
        build();
    return *m_menu;
}

void CanvasMenu::addEntries(std::function<void(QMenu&)> add) {
    if (m_menu)
        add(*m_menu);
    m_more.push_back(std::move(add));
}

void CanvasMenu::setSnapping(bool on) {
    if (m_snappingEntry) {
        m_snappingEntry->setChecked(on); // tells through toggled
        return;
    }
    if (on == m_snapping)
        return;
    m_snapping = on;
    if (snappingChanged)
        snappingChanged(on);
}

void CanvasMenu::build() {
    m_menu = std::make_unique<QMenu>();
    bool distributing = false;
    for (const MenuEntry& entry : menuEntries()) {
        if (entry.distributes != distributing || entry.alignment == Alignment::SameWidth)
            m_menu->addSeparator();
        distributing = entry.distributes;
        const QString key = keyText(entry.keys);
        QAction* action =
            m_menu->addAction(key.isEmpty() ? entry.text : entry.text + QLatin1Char('\t') + key);
        connect(action, &QAction::triggered, this, [this, &entry] { runEntry(entry, m_actions); });
        m_entryActions.push_back(action);
    }
    m_menu->addSeparator();
    m_snappingEntry = m_menu->addAction(QStringLiteral("Einrasten (Alt hält es an)"));
    m_snappingEntry->setCheckable(true);
    m_snappingEntry->setChecked(m_snapping);
    connect(m_snappingEntry, &QAction::toggled, this, [this](bool on) {
        m_snapping = on;
        if (snappingChanged)
            snappingChanged(on);
    });
    connect(m_snappingEntry, &QAction::triggered, this, [this](bool on) {
        if (snappingChosen)
            snappingChosen(on);
    });
    if (!snappingKeys.isEmpty()) {
        // The keys are the window's; the entry only shows them.
        m_snappingEntry->setShortcut(snappingKeys);
        m_snappingEntry->setShortcutContext(Qt::WidgetShortcut);
        m_snappingEntry->setShortcutVisibleInContextMenu(true);
    }
    connect(m_menu.get(), &QMenu::aboutToShow, this, [this] { updateEntries(); });
    for (const auto& add : m_more)
        add(*m_menu);
}

void CanvasMenu::updateEntries() {
    const bool align = m_actions.canAlign();
    const bool distribute = m_actions.canDistribute();
    for (std::size_t k = 0; k < m_entryActions.size(); ++k)
        m_entryActions[k]->setEnabled(menuEntries()[k].distributes ? distribute : align);
}

bool CanvasMenu::eventFilter(QObject*, QEvent* event) {
    if (!enabled || event->type() != QEvent::ContextMenu)
        return false;
    menu().popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
}

} // namespace align

#include "extras/menus/menubar.h"

#include "extras/shared/shortcuts.h"

#include <QMenu>
#include <QMenuBar>

namespace menus {

namespace {

// The mnemonics keep clear of the align keys (Alt+A, D, W, S, H, V).
constexpr const char* kTitles[] = {"Da&tei", "&Bearbeiten", "A&nsicht", "H&ilfe"};
constexpr const char* kNames[] = {"menuDatei", "menuBearbeiten", "menuAnsicht", "menuHilfe"};

} // namespace

MenuBar::MenuBar(QWidget& window)
    : m_bar(new QMenuBar(&window)), m_keys(std::make_unique<WindowShortcuts>(window)) {
    m_bar->setObjectName(QStringLiteral("menuBar"));
    for (std::size_t i = 0; i < m_menus.size(); ++i) {
        m_menus[i] = m_bar->addMenu(QString::fromUtf8(kTitles[i])); // owned by the bar
        m_menus[i]->setObjectName(QString::fromLatin1(kNames[i]));
    }
}

MenuBar::~MenuBar() = default;

QMenu& MenuBar::menu(Menu which) const {
    return *m_menus[std::size_t(which)];
}

void MenuBar::showKeys(QAction& action, const QKeySequence& keys) {
    action.setShortcut(keys);
    // Only while the menu itself has the keyboard: the window's own keys act elsewhere.
    action.setShortcutContext(Qt::WidgetShortcut);
    action.setShortcutVisibleInContextMenu(true);
}

QAction* MenuBar::add(Menu which, Entry entry) {
    QMenu& m = menu(which);
    QAction* action = m.addAction(entry.text);
    action->setCheckable(bool(entry.checked));
    // What the entry offers now: asked when its menu opens and before its keys act.
    const auto refresh = [action, enabled = entry.enabled, checked = entry.checked] {
        if (enabled)
            action->setEnabled(enabled());
        if (checked)
            action->setChecked(checked());
    };
    if (entry.enabled || entry.checked)
        connect(&m, &QMenu::aboutToShow, action, refresh);
    if (!entry.keys.isEmpty()) {
        showKeys(*action, entry.keys);
        if (entry.ownKeys && entry.textFirst)
            action->setShortcutContext(Qt::WindowShortcut); // Qt asks the text field first
        else if (entry.ownKeys)
            for (int k = 0; k < entry.keys.count(); ++k)
                m_keys->add(entry.keys[k], [action, refresh] {
                    refresh();
                    if (action->isEnabled())
                        action->trigger();
                });
    }
    if (entry.run)
        connect(action, &QAction::triggered, this, [run = entry.run] { run(); });
    return action;
}

void MenuBar::addShared(Menu which, QAction& action, const QKeySequence& keys) {
    if (!keys.isEmpty())
        showKeys(action, keys);
    menu(which).addAction(&action);
}

void MenuBar::addSeparator(Menu which) {
    menu(which).addSeparator();
}

} // namespace menus

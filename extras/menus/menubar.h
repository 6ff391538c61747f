// The window's menu bar: Datei, Bearbeiten, Ansicht and Hilfe. Every entry shows its
// keys. Keys that the window already takes (its window-wide keys) are only shown, so
// that a key press never runs a command twice; keys new with an entry are taken for
// the window here. Whoever assembles the editor fills the menus with its commands.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class WindowShortcuts;

namespace menus {

enum class Menu { File, Edit, View, Help };

struct Entry {
    QString text{}; // with its mnemonic
    QKeySequence keys{};
    // The keys are new with this entry: the window takes them for it. Otherwise the
    // entry only shows keys that act already.
    bool ownKeys = false;
    // With ownKeys: a text field that has the keyboard takes the keys itself (select all
    // in a box stays select all); elsewhere in the window they run the entry.
    bool textFirst = false;
    std::function<void()> run{};
    std::function<bool()> enabled{}; // asked whenever the menu opens; always when empty
    std::function<bool()> checked{}; // a check mark, asked whenever the menu opens
};

class MenuBar : public QObject {
public:
    explicit MenuBar(QWidget& window);
    ~MenuBar() override;

    QMenuBar& bar() const { return *m_bar; }
    QMenu& menu(Menu which) const;

    QAction* add(Menu which, Entry entry);
    // An action that belongs to another part of the editor, shown with these keys.
    void addShared(Menu which, QAction& action, const QKeySequence& keys);
    void addSeparator(Menu which);

    // Shows keys beside an action without making them a second shortcut of the window.
    static void showKeys(QAction& action, const QKeySequence& keys);

private:
    QMenuBar* m_bar = nullptr; // a child of the window
    std::array<QMenu*, 4> m_menus{};
    std::unique_ptr<WindowShortcuts> m_keys;
};

} // namespace menus

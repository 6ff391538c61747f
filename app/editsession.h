// What the main window offers beyond its controls' own handlers: undo and redo
// of layout edits, the Ctrl keys, element tool tips and a title that names the
// loaded skin and shows unsaved changes.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class frmMain;
class WindowShortcuts;
class ElementTips;
struct EditNotice;
namespace undo {
class LayoutHistory;
}

class EditSession : public QObject {
public:
    explicit EditSession(frmMain& window);
    ~EditSession() override;

    // Hooks of the main window.
    void layoutLoaded();
    void layoutSaved();
    void nudgeBegins();
    void nudgeEnded(int element, int mode);

    bool undo();
    bool redo();
    // Makes the next (+1) or previous (-1) element of the current view the active one.
    void cycleActiveElement(int direction);
    void refreshTitle();

    const undo::LayoutHistory& history() const { return *m_history; }

private:
    void onEdit(const EditNotice& notice);
    void afterUndoOrRedo();
    void bindKeys();

    frmMain& m_window;
    std::unique_ptr<undo::LayoutHistory> m_history;
    std::unique_ptr<WindowShortcuts> m_keys;
    std::unique_ptr<ElementTips> m_tips;
};

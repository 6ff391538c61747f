// What the main window offers beyond its controls' own handlers: undo and redo
// of layout edits, the Ctrl keys, element tool tips, a title that names the
// loaded skin and shows unsaved changes, and the reload of layout files that
// another program changed.
#pragma once

#include "app/savedfile.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class frmMain;
class WindowShortcuts;
class ElementTips;
class LayoutFileWatch;
struct EditNotice;
namespace undo {
class LayoutHistory;
}
namespace filesync {
class LayoutSync;
}

class EditSession : public QObject {
public:
    explicit EditSession(frmMain& window);
    ~EditSession() override;

    // What the main window announces.
    void onLoadBegins();
    void onLayoutLoaded();
    void onSaveBegins();
    // The layout files were written (whether or not the save succeeded).
    void onFilesWritten(const std::vector<SavedFile>& files);
    void onLayoutSaved();
    void onNudgeBegins();
    void onNudgeEnded(int element, int mode);

    bool undo();
    bool redo();
    // Makes the next (+1) or previous (-1) element of the current view the active one.
    void cycleActiveElement(int direction);
    void refreshTitle();

    const undo::LayoutHistory& history() const { return *m_history; }
    undo::LayoutHistory& history() { return *m_history; }
    // A line the element tool tips add under an element's values (empty: none).
    void setTipNote(std::function<QString(int)> note);
    // The watch on the layout files; none before the first load.
    const LayoutFileWatch* fileWatch() const { return m_files.get(); }

private:
    void onEdit(const EditNotice& notice);
    bool canUndoOrRedo() const;
    void afterUndoOrRedo();
    void bindKeys();
    bool readyForFileQuestion() const;
    void fileChangedElsewhere(const QString& file);
    void reloadKeepingTheActiveElement();
    void acknowledgeFiles();
    void showChangedMark();

    frmMain& m_window;
    std::unique_ptr<undo::LayoutHistory> m_history;
    std::unique_ptr<WindowShortcuts> m_keys;
    std::unique_ptr<ElementTips> m_tips;
    std::unique_ptr<filesync::LayoutSync> m_sync;
    std::unique_ptr<LayoutFileWatch> m_files;
    bool m_asking = false; // the question about a file changed elsewhere is open
};

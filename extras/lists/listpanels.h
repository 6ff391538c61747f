// The side panels of the main window: the element list (F6) and the problem list (F7).
// They stand right of the controls, in one column that fills the window's height, and
// widen the window when they open; the first look, with both closed, stays as it is.
// Whether each is open is kept in the settings file, section "Ansicht". A right click on
// the bare window or on the map offers both. The panels are built when first opened.
//
// Besides the panels this unit keeps the editor-only flags of the elements (hidden,
// locked) and applies them to the pictures, and it checks the skin after every load and
// save: elements with a problem carry a red corner on the canvas, and a load that finds
// errors opens the problem list.
#pragma once

#include "extras/lists/elementflags.h"
#include "skincheck/check.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class frmMain;
class QMenu;
class QThreadPool;
class WindowShortcuts;

namespace lists {

class ElementPanel;
class ProblemPanel;
class ProblemMarks;
class PanelTable;
class InputWatch;

class ListPanels : public QObject {
    Q_OBJECT

public:
    static constexpr int kPanelWidth = 400; // pixels the window widens by

    explicit ListPanels(frmMain& window);
    ~ListPanels() override;

    // The editor-only flags; other units read them (a hidden element is no target, a
    // locked one is not moved by the mouse).
    const ElementFlags& flags() const { return m_flags; }
    ElementFlags& flags() { return m_flags; }

    // Where the panels' column stands in the window (right of the controls); whoever
    // arranges the window calls it whenever that changes.
    void placeColumn(const QRect& area);
    int leftEdge() const { return m_area.left(); }

    bool elementListOpen() const;
    bool problemListOpen() const;
    // Opens or closes a panel; opening with focus puts the keyboard into its list.
    void setElementListOpen(bool open, bool focus = false);
    void setProblemListOpen(bool open, bool focus = false);

    // What the last check found, and the panels once built (nullptr before).
    const std::vector<cli::Finding>& findings() const { return m_findings; }
    // A check of the files runs (in the background) whose findings have not come yet.
    bool checking() const { return m_checksDone != m_checksStarted; }
    ElementPanel* elementPanel() const;
    ProblemPanel* problemPanel() const;

    // Adds the two panels, with their keys, to a menu (the canvas menu offers them too).
    void addPanelEntries(QMenu& menu);

    // The layout changed by an edit, an undo or a redo: the lists follow it.
    void layoutEdited();

signals:
    // The width the panels want right of the controls: kPanelWidth while one is open, else 0.
    void columnWidthWanted(int width);

public slots:
    // A new folder is about to be loaded: the flags of the last one are forgotten.
    void onFolderOpened();
    // A layout was loaded (a folder, another view, a reload); the files were written.
    void onLayoutLoaded();
    void layoutWritten();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Kind { Elements, Problems };

    void setOpen(Kind kind, bool open, bool focus);
    QWidget* panel(Kind kind) const;
    QWidget* build(Kind kind);
    void remember(Kind kind, bool open) const;
    void restoreFromSettings();
    void openRestored();
    void relayout();
    void fitWindow();
    void showMenu(const QPoint& globalPos);
    bool onBareSurface(const QPoint& pos) const;
    void check(bool afterLoad);
    void checked(std::uint64_t generation, std::vector<cli::Finding> found);
    void applyFlags(int index);
    void choose(int index);
    void queueRefresh();
    void refresh();
    bool inputSeen(QObject* watched, QEvent* event);
    std::array<QStringList, ElementFlags::kCount> problemsByElement() const;

    frmMain& m_window;
    ElementFlags m_flags;
    std::unique_ptr<WindowShortcuts> m_keys;
    std::unique_ptr<ProblemMarks> m_marks;
    std::unique_ptr<InputWatch> m_input; // from the first panel on
    std::unique_ptr<QThreadPool> m_pool; // where the checks run
    QPointer<ElementPanel> m_elements;   // children of the window
    QPointer<ProblemPanel> m_problems;
    QPointer<QWidget> m_focusBefore; // where the keyboard was before a panel took it
    std::vector<cli::Finding> m_findings;
    std::vector<Kind> m_toOpen;    // named open by the settings, built after the first frame
    QRect m_area;                  // the column, in the window
    bool m_restored = false;       // the settings were read (at the first showing)
    bool m_restoring = false;      // opening the lists the settings name
    bool m_folderLoad = false;     // the next load is that of a newly chosen folder
    bool m_checkAfterLoad = false; // the check under way follows a load
    std::uint64_t m_checksStarted = 0;
    std::uint64_t m_checksDone = 0;
    bool m_refreshQueued = false;
};

} // namespace lists

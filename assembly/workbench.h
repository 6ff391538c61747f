// The editor as the user gets it: the main window and everything added around it
// (undo and the keys, the watch on the layout files, the zoomed canvas, the canvas
// aids, the two lists, the boxes' check, the menu bar and the status bar), created
// in this order and connected here. The window itself names none of them: it
// announces what happens through its signals.
#pragma once

#include <memory>

class frmMain;
class EditSession;
class BoxCheck;
namespace align {
class AlignSession;
}
namespace canvas {
class CanvasZoom;
}
namespace lists {
class ListPanels;
}
namespace menus {
class MenuBar;
class RecentFolders;
} // namespace menus
namespace status {
class StatusLine;
}
class QRect;

class Workbench {
public:
    Workbench();
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    frmMain& window() const { return *m_window; }
    EditSession& editSession() const { return *m_session; }
    align::AlignSession& alignment() const { return *m_align; }
    canvas::CanvasZoom& canvas() const { return *m_canvas; }
    lists::ListPanels& listPanels() const { return *m_lists; }
    BoxCheck& boxCheck() const { return *m_boxCheck; }
    menus::MenuBar& menus() const { return *m_menus; }
    menus::RecentFolders& recentFolders() const { return *m_recent; }
    status::StatusLine& statusLine() const { return *m_status; }
    // The window between its menu bar and its status bar, in the window's pixels.
    QRect formArea() const;

private:
    std::unique_ptr<frmMain> m_window;
    std::unique_ptr<canvas::CanvasZoom> m_canvas;
    std::unique_ptr<align::AlignSession> m_align;
    std::unique_ptr<EditSession> m_session;
    std::unique_ptr<lists::ListPanels> m_lists;
    std::unique_ptr<BoxCheck> m_boxCheck;
    std::unique_ptr<menus::MenuBar> m_menus;
    std::unique_ptr<menus::RecentFolders> m_recent;
    std::unique_ptr<status::StatusLine> m_status;
};

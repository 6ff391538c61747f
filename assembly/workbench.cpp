#include "assembly/workbench.h"

#include "app/frmMain.h"
#include "assembly/menucommands.h"
#include "extras/access/controlnames.h"
#include "extras/align/alignsession.h"
#include "extras/align/selection.h"
#include "extras/canvas/activefollow.h"
#include "extras/canvas/canvaszoom.h"
#include "extras/canvas/windowarrangement.h"
#include "extras/lists/listpanels.h"
#include "extras/menus/deferredicons.h"
#include "extras/menus/menubar.h"
#include "extras/menus/recentfolders.h"
#include "extras/menus/snapsetting.h"
#include "extras/session/boxcheck.h"
#include "extras/session/editsession.h"
#include "extras/status/statusline.h"
#include "extras/undo/layouthistory.h"
#include "resources/canvasview.h"

#include <QMenuBar>
#include <QStatusBar>
#include <QUndoStack>

Workbench::Workbench() {
    // The style before the first control: the menu bar's hidden button reads its
    // picture late.
    menus::deferStyleIcons();
    m_window = std::make_unique<frmMain>();
    frmMain& window = *m_window;
    // The canvas area first: the window's arrangement takes every control there is
    // now as one block beside it.
    m_canvas = std::make_unique<canvas::CanvasZoom>(window);
    // A load chooses its own active element: the canvas stays where it is.
    QObject::connect(&window, &frmMain::layoutLoaded, &m_canvas->follow(),
                     [this] { m_canvas->follow().onLayoutLoaded(); });

    // The canvas aids hear of loads and nudges before the undo history does: the rest
    // of the selection takes a nudge's step before the step is recorded.
    m_align = std::make_unique<align::AlignSession>(window);
    align::AlignSession& aids = *m_align;
    QObject::connect(&window, &frmMain::layoutLoaded, &aids, &align::AlignSession::onLayoutLoaded);
    QObject::connect(&window, &frmMain::nudgeBegins, &aids, &align::AlignSession::onNudgeBegins);
    QObject::connect(&window, &frmMain::nudgeEnded, &aids,
                     [&aids](int, int) { aids.nudgeApplied(); });

    m_session = std::make_unique<EditSession>(window);
    EditSession& session = *m_session;
    aids.setEditBrackets([&session] { session.history().begin(); },
                         [&session](int active) {
                             session.history().endPointer(active);
                             session.refreshTitle();
                         });
    session.setTipNote([&aids](int index) { return aids.tipNote(index); });

    m_lists = std::make_unique<lists::ListPanels>(window);
    lists::ListPanels& panels = *m_lists;
    QObject::connect(&session.history().stack(), &QUndoStack::indexChanged, &panels,
                     [&panels] { panels.layoutEdited(); });

    // The lists stand in a column right of the controls.
    canvas::WindowArrangement& arrangement = m_canvas->arrangement();
    QObject::connect(&panels, &lists::ListPanels::columnWidthWanted, &arrangement,
                     &canvas::WindowArrangement::setRightReserve);
    QObject::connect(
        &arrangement, &canvas::WindowArrangement::arranged, &panels,
        [&panels](const canvas::Arrangement& parts) { panels.placeColumn(parts.rightArea); });
    arrangement.arrange();

    // The canvas aids draw over the zoomed canvas, snap within screen pixels, take the
    // element list's hide and lock flags, and their menu offers the lists too.
    ui::CanvasView& view = m_canvas->view();
    aids.placeOverlay(&view.surface(), QRect());
    aids.setScreenScale([&view] { return double(view.zoom()); });
    aids.setHiddenPredicate([&panels](int i) { return panels.flags().hidden(i); });
    aids.setLockedPredicate([&panels](int i) { return panels.flags().locked(i); });
    aids.addCanvasMenuEntries([&panels](QMenu& menu) { panels.addPanelEntries(menu); });

    // The boxes show when the element does not take what they hold.
    m_boxCheck = std::make_unique<BoxCheck>(window);

    aids.setSnapping(menus::rememberedSnapping());

    // The menu bar above the window's first look and the status bar below it.
    m_menus = std::make_unique<menus::MenuBar>(window);
    m_recent = fillMenus(*m_menus, *this);
    m_status = std::make_unique<status::StatusLine>(window, view.surface());
    status::StatusLine& line = *m_status;
    line.setSelectionSource([&window, &aids] {
        bool ok = false;
        const int active = window.loaded() ? window.Selector->Tag().toInt(&ok) : -1;
        return status::SelectionState{ok ? active : -1, int(aids.selection().size())};
    });
    QObject::connect(&window, &frmMain::layoutLoaded, &line,
                     [&line] { line.queueSelectionRefresh(); });
    QObject::connect(&session.history().stack(), &QUndoStack::indexChanged, &line,
                     [&line] { line.queueSelectionRefresh(); });
    QObject::connect(m_canvas.get(), &canvas::CanvasZoom::zoomChanged, &line,
                     [&line](int percent) { line.showZoom(percent); });
    QObject::connect(&window, &frmMain::filesWritten, &line,
                     [&line](const std::vector<SavedFile>& files) { line.showSaved(files); });
    arrangement.setBars(&m_menus->bar(), &line.bar());

    accessible::nameControls(window);
}

QRect Workbench::formArea() const {
    return m_canvas->arrangement().arrangementFor(m_window->size()).form;
}

Workbench::~Workbench() {
    // The additions go before the window whose controls they hold.
    m_status.reset();
    m_recent.reset();
    m_menus.reset();
    m_boxCheck.reset();
    m_lists.reset();
    m_session.reset();
    m_align.reset();
    m_canvas.reset();
}

#include "assembly/menucommands.h"

#include "app/frmMain.h"
#include "assembly/workbench.h"
#include "extras/align/alignsession.h"
#include "extras/align/canvasmenu.h"
#include "extras/align/groupactions.h"
#include "extras/canvas/canvaszoom.h"
#include "extras/lists/listpanels.h"
#include "extras/menus/about.h"
#include "extras/menus/keysheet.h"
#include "extras/menus/menubar.h"
#include "extras/menus/recentfolders.h"
#include "extras/menus/snapsetting.h"
#include "extras/session/editsession.h"
#include "extras/undo/layouthistory.h"

#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QUndoStack>

using menus::Menu;

namespace {

QKeySequence ctrl(Qt::Key key) {
    return QKeySequence(QKeyCombination(Qt::ControlModifier, key));
}

void fillFile(menus::MenuBar& bar, frmMain& window) {
    bar.add(Menu::File, {.text = QStringLiteral("&Laden..."),
                         .keys = ctrl(Qt::Key_O),
                         .run = [&window] { window.BTNLoad_Click(); }});
    bar.add(Menu::File, {.text = QStringLiteral("&Speichern"),
                         .keys = ctrl(Qt::Key_S),
                         .run = [&window] { window.BTNSave_Click(); },
                         .enabled = [&window] { return window.loaded(); }});
    bar.addSeparator(Menu::File);
}

void fillEdit(menus::MenuBar& bar, Workbench& bench) {
    EditSession& session = bench.editSession();
    align::AlignSession& aids = bench.alignment();
    frmMain& window = bench.window();
    const QUndoStack& history = session.history().stack();
    bar.add(Menu::Edit,
            {.text = QStringLiteral("&Rückgängig"),
             .keys = ctrl(Qt::Key_Z),
             .run = [&session] { session.undo(); },
             .enabled = [&window, &history] { return window.loaded() && history.canUndo(); }});
    bar.add(Menu::Edit,
            {.text = QStringLiteral("&Wiederholen"),
             .keys = ctrl(Qt::Key_Y),
             .run = [&session] { session.redo(); },
             .enabled = [&window, &history] { return window.loaded() && history.canRedo(); }});
    bar.addSeparator(Menu::Edit);
    bar.add(Menu::Edit, {.text = QStringLiteral("Alles &auswählen"),
                         .keys = ctrl(Qt::Key_A),
                         .ownKeys = true,
                         .textFirst = true,
                         .run = [&aids] { aids.selectAllShown(); }});

    // The align keys are the canvas aids' own: the entries show them.
    bool distributing = false;
    bool first = true;
    for (const align::MenuEntry& entry : align::menuEntries()) {
        if (first || entry.distributes != distributing ||
            entry.alignment == align::Alignment::SameWidth)
            bar.addSeparator(Menu::Edit);
        first = false;
        distributing = entry.distributes;
        const bool menuOnly = entry.keys == QKeyCombination(Qt::Key_unknown);
        bar.add(Menu::Edit, {.text = entry.text,
                             .keys = menuOnly ? QKeySequence() : QKeySequence(entry.keys),
                             .run =
                                 [&aids, &entry] {
                                     if (QApplication::mouseButtons() == Qt::NoButton)
                                         align::runEntry(entry, aids.actions());
                                 },
                             .enabled =
                                 [&aids, &window, &entry] {
                                     return window.loaded() &&
                                            (entry.distributes ? aids.actions().canDistribute()
                                                               : aids.actions().canAlign());
                                 }});
    }
}

void fillZoom(menus::MenuBar& bar, canvas::CanvasZoom& zoom) {
    const int highest = canvas::CanvasZoom::kLevels.back();
    const int lowest = canvas::CanvasZoom::kLevels.front();
    bar.add(Menu::View, {.text = QStringLiteral("&Vergrößern"),
                         .keys = ctrl(Qt::Key_Plus),
                         .run = [&zoom] { zoom.step(+1); },
                         .enabled = [&zoom, highest] { return zoom.percent() < highest; }});
    bar.add(Menu::View, {.text = QStringLiteral("Ver&kleinern"),
                         .keys = ctrl(Qt::Key_Minus),
                         .run = [&zoom] { zoom.step(-1); },
                         .enabled = [&zoom, lowest] { return zoom.percent() > lowest; }});
    bar.addSeparator(Menu::View);
    auto* levels = new QActionGroup(&bar.menu(Menu::View)); // owned by the menu
    for (int level : canvas::CanvasZoom::kLevels)
        levels->addAction(
            bar.add(Menu::View, {.text = QStringLiteral("&%1 %").arg(level),
                                 .keys = level == lowest ? ctrl(Qt::Key_0) : QKeySequence(),
                                 .run = [&zoom, level] { zoom.setPercent(level); },
                                 .checked = [&zoom, level] { return zoom.percent() == level; }}));
}

void fillView(menus::MenuBar& bar, Workbench& bench) {
    canvas::CanvasZoom& zoom = bench.canvas();
    align::AlignSession& aids = bench.alignment();
    frmMain& window = bench.window();
    fillZoom(bar, zoom);
    bar.addSeparator(Menu::View);
    bar.add(Menu::View,
            {.text = QStringLiteral("Zoom auf &Auswahl"),
             .keys = ctrl(Qt::Key_2),
             .ownKeys = true,
             .run = [&zoom, &aids] { zoom.zoomToFit(aids.selectionBounds()); },
             .enabled = [&window,
                         &aids] { return window.loaded() && !aids.selectionBounds().isEmpty(); }});
    bar.add(Menu::View, {.text = QStringLiteral("&Ganzer Bildschirm"),
                         .keys = ctrl(Qt::Key_1),
                         .ownKeys = true,
                         .run = [&zoom] { zoom.zoomToScreen(); }});
    bar.addSeparator(Menu::View);
    bar.add(Menu::View, {.text = QStringLiteral("&Pixelraster"),
                         .keys = ctrl(Qt::Key_Apostrophe),
                         .run = [&zoom] { zoom.toggleGrid(); },
                         .checked = [&zoom] { return zoom.gridShown(); }});
    // Snapping: the canvas menu's entry shows the key too, and both are remembered.
    const QKeySequence snapKey(Qt::Key_F8);
    bar.add(Menu::View, {.text = QStringLiteral("&Einrasten"),
                         .keys = snapKey,
                         .ownKeys = true,
                         .run =
                             [&aids] {
                                 aids.setSnapping(!aids.snapping());
                                 menus::rememberSnapping(aids.snapping());
                             },
                         .checked = [&aids] { return aids.snapping(); }});
    aids.setSnappingChoice(snapKey, [](bool on) { menus::rememberSnapping(on); });
    bench.listPanels().addPanelEntries(bar.menu(Menu::View));
}

void fillHelp(menus::MenuBar& bar, frmMain& window) {
    bar.add(Menu::Help, {.text = QStringLiteral("&Tastenkürzel"),
                         .keys = QKeySequence(Qt::Key_F1),
                         .ownKeys = true,
                         .run = [&window] { menus::showKeySheet(window); }});
    bar.addSeparator(Menu::Help);
    bar.add(Menu::Help,
            {.text = QStringLiteral("Ü&ber Tessel"), .run = [] { menus::showAbout(); }});
}

} // namespace

std::unique_ptr<menus::RecentFolders> fillMenus(menus::MenuBar& bar, Workbench& bench) {
    frmMain& window = bench.window();
    fillFile(bar, window);
    // The folders used last stand between "Speichern" and "Beenden".
    QAction* beforeQuit = bar.menu(Menu::File).addSeparator();
    bar.add(Menu::File, {.text = QStringLiteral("&Beenden"),
                         .keys = ctrl(Qt::Key_Q),
                         .run = [&window] { window.close(); }});
    auto recent = std::make_unique<menus::RecentFolders>(
        bar.menu(Menu::File), beforeQuit,
        [&window](const QString& folder) { window.openChosenFolder(folder); });
    QObject::connect(&window, &frmMain::rememberingFolder, recent.get(),
                     [](const QString& folder) { menus::RecentFolders::add(folder); });
    fillEdit(bar, bench);
    fillView(bar, bench);
    fillHelp(bar, window);
    return recent;
}

// Lining elements up by eye: snapping while dragging, several elements moved,
// stepped, aligned and distributed together, the rubber band.
#define QTEST_QPA_MOUSE_HANDLING
#include "editorfixture.h"
#include "elements/programstate.h"
#include "extras/align/alignsession.h"
#include "extras/align/dragcoordinator.h"
#include "extras/align/selection.h"
#include "extras/canvas/canvaszoom.h"
#include "extras/session/editsession.h"
#include "extras/undo/layouthistory.h"
#include "resources/canvasview.h"

#include <QMenu>
#include <QScreen>
#include <QtTest>

using namespace fixture;

namespace {

// "Kartenansicht 3" with the info bar off shows infobar 1, from 3, info 17,
// Menu 18, largedummy 19, log 21, tmc 22, gps 23 and win 24.
QByteArray alignMapview() {
    return layout({"infobar:0,300,240,20", "to:5,5,20,20", "info:100,100,40,40",
                   "Menu:150,40,30,30", "largedummy:0,270,50,5", "from:0,280,100,10",
                   "smalldummy:0,270,50,5"});
}
QByteArray alignDefaults() {
    return layout({"log:20,20,40,20", "tmc:110,60,30,10", "gps:60,230,41,21", "win:180,200,20,20"});
}

// An element's rectangle in device pixels, exactly as its picture holds it.
QRectF deviceRect(frmMain& w, int i) {
    const ui::ImageControl* p = w.elementPicture(i);
    return {(p->Left() - 480) / 15, (p->Top() - 120) / 15, p->Width() / 15, p->Height() / 15};
}

QList<QRect> rects(frmMain& w, const QList<int>& members) {
    QList<QRect> out;
    for (int i : members)
        out << deviceRect(w, i).toRect();
    return out;
}

} // namespace

class tst_Align : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void snapping_data();
    void snapping();
    void groupMovesAreOneStep_data();
    void groupMovesAreOneStep();
    void alignAndDistribute_data();
    void alignAndDistribute();
    void rubberBand_data();
    void rubberBand();
    void ctrlClickOnTheActiveOne();
    void groupMoveWritesWhatSingleMovesWrite();
    void snappingEntryFollowsTheSetting();
    void dragRepaintsWhatChanged_data();
    void dragRepaintsWhatChanged();

private:
    void open(Editor& e) {
        e.w().ChkInfobar->setValue(0);
        e.w().ComboAnsicht->setCurrentIndex(2);
        e.load(e.makeSkin(alignMapview(), alignDefaults()));
    }
    // Plain click on the first, Ctrl+click on the others: the last becomes active.
    void select(const QList<int>& members) {
        for (int k = 0; k < members.size(); ++k)
            QTest::mouseClick(&w(), Qt::LeftButton, k ? Qt::ControlModifier : Qt::NoModifier,
                              pic(members[k])->mapTo(&w(), pic(members[k])->rect().center()));
    }
    align::AlignSession& session() { return editor->bench().alignment(); }
    frmMain& w() { return editor->w(); }
    QWidget* pic(int i) { return w().elementPicture(i); }
    std::unique_ptr<Editor> editor;
};

void tst_Align::init() {
    editor = std::make_unique<Editor>();
    open(*editor);
}

void tst_Align::cleanup() {
    editor.reset();
}

void tst_Align::snapping_data() {
    QTest::addColumn<QPoint>("press"); // in win (180,200 20x20)
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<bool>("alt");
    QTest::addColumn<QRectF>("result");
    QTest::addColumn<double>("guide"); // a vertical guide while held, or -1
    QTest::addColumn<int>("percent");  // the zoom; delta and press in screen pixels

    // Left 152: Menu's left edge 150 is 2 away, its centre line 165 is 3 away from ours.
    QTest::newRow("edge to edge") << QPoint(10, 10) << QPoint(-28, 0) << false
                                  << QRectF(150, 200, 20, 20) << 150.0 << 100;
    // Left 153: now the centre lines (163 to 165) are nearer than the edges.
    QTest::newRow("centre to centre")
        << QPoint(10, 10) << QPoint(-27, 0) << false << QRectF(155, 200, 20, 20) << 165.0 << 100;
    QTest::newRow("Alt holds it") << QPoint(10, 10) << QPoint(-27, 0) << true
                                  << QRectF(153, 200, 20, 20) << -1.0 << 100;
    // Centre 80 is half a pixel from gps's centre 80.5: no fraction, no snap.
    QTest::newRow("no half pixels")
        << QPoint(10, 10) << QPoint(-110, 0) << false << QRectF(70, 200, 20, 20) << -1.0 << 100;
    // The right edge dragged to 236 reaches the screen's edge 240.
    QTest::newRow("resized edge") << QPoint(19, 10) << QPoint(37, 0) << false
                                  << QRectF(180, 200, 60, 20) << 240.0 << 100;
    // Enlarged, the reach stays 4 screen pixels: the pointer leaves the right edge 6 or 3
    // screen pixels short of the screen's edge 240. At 800 % the element stands on whole
    // device pixels, 8 screen pixels apart: only a line it lies on is in reach.
    QTest::newRow("200 %, 6 screen pixels short")
        << QPoint(10, 10) << QPoint(74, 0) << false << QRectF(217, 200, 20, 20) << -1.0 << 200;
    QTest::newRow("200 %, 3 screen pixels short")
        << QPoint(10, 10) << QPoint(77, 0) << false << QRectF(220, 200, 20, 20) << 240.0 << 200;
    QTest::newRow("800 %, 6 screen pixels short")
        << QPoint(10, 10) << QPoint(314, 0) << false << QRectF(219, 200, 20, 20) << -1.0 << 800;
    QTest::newRow("800 %, 3 screen pixels past")
        << QPoint(10, 10) << QPoint(323, 0) << false << QRectF(220, 200, 20, 20) << 240.0 << 800;
}

void tst_Align::snapping() {
    QFETCH(QPoint, press);
    QFETCH(QPoint, delta);
    QFETCH(bool, alt);
    QFETCH(QRectF, result);
    QFETCH(double, guide);
    QFETCH(int, percent);
    auto* view = w().findChild<ui::CanvasView*>();
    for (int i = 0; i < 6 && view->zoom() * 100 < percent; ++i)
        QTest::keyClick(&w(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(view->zoom() * 100, percent);
    QCoreApplication::processEvents(); // the window takes its new size
    view->ensureWidgetVisible(pic(24));
    session().setSnapping(true);
    const Qt::KeyboardModifiers mods = alt ? Qt::AltModifier : Qt::NoModifier;
    const QPoint start = pic(24)->mapTo(&w(), press);
    QTest::mousePress(&w(), Qt::LeftButton, mods, start);
    for (int i = 1; i <= 4; ++i)
        QTest::mouseEvent(QTest::MouseMove, &w(), Qt::NoButton, mods, start + delta * i / 4);
    const auto& guides = session().drag().xGuides();
    QCOMPARE(guides.empty(), guide < 0);
    if (guide >= 0)
        QVERIFY(std::find(guides.begin(), guides.end(), guide) != guides.end());
    QTest::mouseRelease(&w(), Qt::LeftButton, mods, start + delta);
    QCOMPARE(deviceRect(w(), 24), result);
    QVERIFY(session().drag().xGuides().empty()); // gone with the button
}

void tst_Align::groupMovesAreOneStep_data() {
    QTest::addColumn<QString>("actions");    // d drag of log, f/b far off and back, R arrow key,
                                             // m mode, n e w pad up, right, left
    QTest::addColumn<QList<int>>("members"); // clicked; log (21) last, active
    QTest::addColumn<QList<int>>("listed");  // selected as the element list would
    QTest::addColumn<int>("locked");
    QTest::addColumn<QRect>("change"); // of every member that moves: dx, dy, dw, dh
    QTest::addColumn<int>("steps");

    const QList<int> three{22, 24, 21};
    QTest::newRow("drag") << "d" << three << QList<int>{} << -1 << QRect(10, 5, 0, 0) << 1;
    QTest::newRow("arrow keys merge")
        << "R R" << three << QList<int>{} << -1 << QRect(2, 0, 0, 0) << 1;
    QTest::newRow("scale+ on each")
        << "m n" << three << QList<int>{} << -1 << QRect(0, -1, 0, 1) << 1;
    QTest::newRow("scale+ east on each")
        << "m e" << three << QList<int>{} << -1 << QRect(0, 0, 1, 0) << 1;
    QTest::newRow("scale- west on each")
        << "m m w" << three << QList<int>{} << -1 << QRect(0, 0, -1, 0) << 1;
    QTest::newRow("locked one stays")
        << "d" << three << QList<int>{} << 24 << QRect(10, 5, 0, 0) << 1;
    // "to" (2) is not in this view: it moves with the rest all the same.
    QTest::newRow("hidden one moves")
        << "d" << QList<int>{22, 21} << QList<int>{2} << -1 << QRect(10, 5, 0, 0) << 1;
    QList<int> all;
    for (int i = 0; i < 25; ++i)
        all << i;
    QTest::newRow("all 25 far off and back") << "f" << QList<int>{21} << all << -1 << QRect() << 0;
}

void tst_Align::groupMovesAreOneStep() {
    QFETCH(QString, actions);
    QFETCH(QList<int>, members);
    QFETCH(QList<int>, listed);
    QFETCH(int, locked);
    QFETCH(QRect, change);
    QFETCH(int, steps);
    session().setLockedPredicate([locked](int i) { return i == locked; });
    select(members);
    for (int i : listed)
        session().selection().add(i);
    if (listed.contains(2))
        QVERIFY(session().tipNote(21).contains(QStringLiteral("to")));
    QCOMPARE(w().Selector->Tag(), QStringLiteral("21"));
    members += listed;
    const QList<QRect> before = rects(w(), members);

    for (const QString& a : actions.split(' ')) {
        if (a == "d")
            editor->drag(21, QPoint(20, 10), QPoint(30, 15));
        else if (a == "f") { // one gesture: 600 pixels off the screen, and back
            const QPoint start = pic(21)->mapTo(&w(), QPoint(20, 10));
            QTest::mousePress(&w(), Qt::LeftButton, {}, start);
            for (int i = 1; i <= 3; ++i)
                QTest::mouseMove(&w(), start - QPoint(600, 400) * i / 3);
            for (int k = 0; k < members.size(); ++k)
                QCOMPARE(rects(w(), members)[k], before[k].translated(-600, -400));
            QTest::mouseMove(&w(), start - QPoint(300, 200));
            QTest::mouseMove(&w(), start);
            QTest::mouseRelease(&w(), Qt::LeftButton, {}, start);
        } else if (a == "R")
            QTest::keyClick(w().txtX, Qt::Key_Right);
        else if (a == "m")
            editor->click(w().BTNpos);
        else if (a == "n")
            editor->click(w().MoveN);
        else if (a == "e")
            editor->click(w().MoveO);
        else if (a == "w")
            editor->click(w().MoveW);
    }
    const QList<QRect> after = rects(w(), members);
    for (int k = 0; k < members.size(); ++k) {
        const QRect b = before[k];
        const QRect expected =
            members[k] == locked ? b
                                 : QRect(b.x() + change.x(), b.y() + change.y(),
                                         b.width() + change.width(), b.height() + change.height());
        QCOMPARE(after[k], expected);
    }
    QCOMPARE(editor->bench().editSession().history().stack().count(), steps);
    for (int k = 0; k < steps; ++k)
        QTest::keyClick(w().txtX, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rects(w(), members), before);
}

void tst_Align::alignAndDistribute_data() {
    QTest::addColumn<QList<int>>("members"); // clicked in this order: the last is active
    QTest::addColumn<QString>("key");        // Alt + letter, "+" with Shift; or a menu entry
    QTest::addColumn<QList<QRect>>("result");

    // log 20,20 40x20 (active); tmc 110,60 30x10; gps 60,230 41x21.
    const QList<int> m{22, 23, 21};
    const QRect log(20, 20, 40, 20);
    QTest::newRow("left") << m << "A" << QList<QRect>{{20, 60, 30, 10}, {20, 230, 41, 21}, log};
    QTest::newRow("right") << m << "D" << QList<QRect>{{30, 60, 30, 10}, {19, 230, 41, 21}, log};
    QTest::newRow("top") << m << "W" << QList<QRect>{{110, 20, 30, 10}, {60, 20, 41, 21}, log};
    QTest::newRow("bottom") << m << "S" << QList<QRect>{{110, 30, 30, 10}, {60, 19, 41, 21}, log};
    // gps's centre would need a half pixel: it goes to the next whole one.
    QTest::newRow("centres x") << m << "H"
                               << QList<QRect>{{25, 60, 30, 10}, {20, 230, 41, 21}, log};
    QTest::newRow("centres y") << m << "V"
                               << QList<QRect>{{110, 25, 30, 10}, {60, 20, 41, 21}, log};
    QTest::newRow("same width") << m << "Gleiche Breite"
                                << QList<QRect>{{110, 60, 40, 10}, {60, 230, 40, 21}, log};
    QTest::newRow("same height") << m << "Gleiche Höhe"
                                 << QList<QRect>{{110, 60, 30, 20}, {60, 230, 41, 20}, log};
    // Gaps 60..110 less 41: 9 pixels, the odd one to the first gap.
    QTest::newRow("distribute x") << m << "+H"
                                  << QList<QRect>{{110, 60, 30, 10}, {65, 230, 41, 21}, log};
    QTest::newRow("distribute y") << m << "+V"
                                  << QList<QRect>{{110, 130, 30, 10}, {60, 230, 41, 21}, log};
    // info 100..140 and tmc 110..140 overlap: the gaps become -10 each.
    QTest::newRow("distribute overlapping")
        << QList<int>{17, 22, 18} << "+H"
        << QList<QRect>{{100, 100, 40, 40}, {130, 60, 30, 10}, {150, 40, 30, 30}};
    QTest::newRow("two do not distribute")
        << QList<int>{22, 21} << "+H" << QList<QRect>{{110, 60, 30, 10}, log};
}

void tst_Align::alignAndDistribute() {
    QFETCH(QList<int>, members);
    QFETCH(QString, key);
    QFETCH(QList<QRect>, result);
    select(members);
    const QList<QRect> before = rects(w(), members);
    if (key.size() > 2) {
        QAction* entry = nullptr;
        for (QAction* a : session().canvasMenu().actions())
            if (a->text() == key)
                entry = a;
        QVERIFY(entry);
        session().canvasMenu().popup(w().mapToGlobal(QPoint(100, 100)));
        entry->trigger();
        session().canvasMenu().close();
    } else {
        const Qt::KeyboardModifiers mods =
            key.startsWith('+') ? Qt::AltModifier | Qt::ShiftModifier : Qt::AltModifier;
        QTest::keyClick(w().txtX, Qt::Key(key.back().unicode()), mods);
    }
    QCOMPARE(rects(w(), members), result);
    QCOMPARE(w().Selector->Tag(), QString::number(members.back()));
    QCOMPARE(editor->bench().editSession().history().stack().count(), before == result ? 0 : 1);
    QTest::keyClick(w().txtX, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rects(w(), members), before);
}

void tst_Align::rubberBand_data() {
    QTest::addColumn<QPoint>("from"); // device pixels on the map
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("active");

    // win (24) is active after the load.
    QTest::newRow("two") << QPoint(10, 75) << QPoint(115, 10) << false << QList<int>{22, 21} << 22;
    QTest::newRow("a corner is enough")
        << QPoint(5, 5) << QPoint(20, 20) << false << QList<int>{21} << 21;
    QTest::newRow("nothing: the active alone")
        << QPoint(200, 100) << QPoint(230, 120) << false << QList<int>{24} << 24;
    QTest::newRow("Shift adds") << QPoint(10, 5) << QPoint(75, 25) << true << QList<int>{24, 21}
                                << 24;
}

void tst_Align::rubberBand() {
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(bool, shift);
    QFETCH(QList<int>, selected);
    QFETCH(int, active);
    const QPoint origin = w().Shape1->mapTo(&w(), QPoint(0, 0));
    const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
    QTest::mousePress(&w(), Qt::LeftButton, mods, origin + from);
    QTest::mouseMove(&w(), origin + (from + to) / 2);
    QTest::mouseMove(&w(), origin + to);
    QTest::mouseRelease(&w(), Qt::LeftButton, mods, origin + to);
    QList<int> members(session().selection().members().begin(),
                       session().selection().members().end());
    std::sort(members.begin(), members.end());
    std::sort(selected.begin(), selected.end());
    QCOMPARE(members, selected);
    QCOMPARE(w().Selector->Tag(), QString::number(active));
}

void tst_Align::ctrlClickOnTheActiveOne() {
    select({22, 24, 21}); // log active
    QTest::mouseClick(&w(), Qt::LeftButton, Qt::ControlModifier,
                      pic(21)->mapTo(&w(), pic(21)->rect().center()));
    // Taken out: the one added last before it, win, is the active one now.
    QCOMPARE(
        QList<int>(session().selection().members().begin(), session().selection().members().end()),
        (QList<int>{22, 24}));
    QCOMPARE(w().Selector->Tag(), QStringLiteral("24"));
    QCOMPARE(w().Selector->geometry(), pic(24)->geometry());
    QCOMPARE(w().LBLiniName->text(), QStringLiteral("win"));
    QCOMPARE(w().txtX->text(), QStringLiteral("180"));
}

void tst_Align::groupMoveWritesWhatSingleMovesWrite() {
    const auto save = [](Editor& e) {
        QTest::keyClick(e.w().txtX, Qt::Key_S, Qt::ControlModifier);
        const QString folder = e.workPath() + "/skin/";
        return fixture::readFile(folder + "mapviewlt.ini") +
               fixture::readFile(folder + "defaultlt.ini");
    };
    select({22, 24, 17, 21});
    editor->drag(21, QPoint(20, 10), QPoint(27, 13));
    const QByteArray together = save(*editor);

    Editor single;
    open(single);
    for (int i : {22, 24, 17, 21}) {
        QTest::mouseClick(&single.w(), Qt::LeftButton, {},
                          single.w().elementPicture(i)->mapTo(
                              &single.w(), single.w().elementPicture(i)->rect().center()));
        single.drag(i, QPoint(5, 5), QPoint(12, 8));
    }
    QVERIFY(together.contains("x=27"));
    QCOMPARE(save(single), together);
}

QTEST_MAIN(tst_Align)
// The canvas menu is built when first opened: its snapping entry shows the
// setting made before, and switches it.
void tst_Align::snappingEntryFollowsTheSetting() {
    QVERIFY(!session().snapping()); // the fixture's setting
    QAction* entry = nullptr;
    for (QAction* a : session().canvasMenu().actions())
        if (a->text().startsWith(QStringLiteral("Einrasten")))
            entry = a;
    QVERIFY(entry);
    QVERIFY(!entry->isChecked());
    entry->trigger();
    QVERIFY(session().snapping());
    session().setSnapping(false);
    QVERIFY(!entry->isChecked());
    QVERIFY(!session().snapping());
}

// A drag repaints only what its guides, gaps and labels changed; the window
// then shows what a whole repaint would: nothing of a mark that went stays
// behind, and a mark that came is drawn whole.
void tst_Align::dragRepaintsWhatChanged_data() {
    QTest::addColumn<int>("percent");
    QTest::addColumn<QPoint>("step"); // screen pixels per move
    QTest::newRow("100 %, to the left") << 100 << QPoint(-3, 0);
    QTest::newRow("100 %, upwards") << 100 << QPoint(0, -5);
    QTest::newRow("400 %, to the left") << 400 << QPoint(-10, 0);
}

void tst_Align::dragRepaintsWhatChanged() {
    QFETCH(int, percent);
    QFETCH(QPoint, step);
    session().setSnapping(true);
    editor->bench().canvas().setPercent(percent);
    QCoreApplication::processEvents();
    ui::CanvasView& view = editor->bench().canvas().view();
    view.setFocus(); // no blinking text cursor
    QWidget* win = pic(24);
    view.ensureWidgetVisible(win, 80, 80);
    QCoreApplication::processEvents();
    const QRect area(view.mapTo(&w(), QPoint(0, 0)), view.size());
    int gaps = 0;
    int guides = 0;
    const auto shownAsWhole = [&] {
        QCoreApplication::processEvents();
        gaps += session().drag().gaps().empty() ? 0 : 1;
        guides += session().drag().xGuides().size() + session().drag().yGuides().size();
        const QImage shown = w().screen()->grabWindow(w().winId()).toImage();
        const QImage whole = w().grab().toImage();
        // Each guide shows where the canvas area shows the screen (gaps and
        // labels may lie over it in places).
        const ui::CanvasSurface& surface = view.surface();
        const auto guideShown = [&](QPointF from, QPointF step) {
            for (int i = 0; i <= 32; ++i) {
                const QPointF at = surface.fromDevice(from + step * i);
                const QPoint inWindow =
                    surface.mapTo(&w(), QPoint(int(std::floor(at.x())), int(std::floor(at.y()))));
                if (area.contains(inWindow) && shown.pixel(inWindow) == qRgb(255, 0, 255))
                    return true;
            }
            return false;
        };
        for (double x : session().drag().xGuides())
            if (!guideShown({x, 0.5}, {0, 10}))
                return false;
        for (double y : session().drag().yGuides())
            if (!guideShown({0.5, y}, {7.5, 0}))
                return false;
        return shown.copy(area).convertToFormat(QImage::Format_RGB32) ==
               whole.copy(area).convertToFormat(QImage::Format_RGB32);
    };
    const QPoint start = win->mapTo(&w(), QPoint(win->width() / 2, win->height() / 2));
    QTest::mousePress(&w(), Qt::LeftButton, {}, start);
    for (int i = 1; i <= 12; ++i) {
        QTest::mouseMove(&w(), start + step * i);
        QVERIFY2(shownAsWhole(), qPrintable(QStringLiteral("step %1").arg(i)));
    }
    QTest::mouseRelease(&w(), Qt::LeftButton, {}, start + step * 12);
    QVERIFY(shownAsWhole());
    QVERIFY(gaps > 0);
    QVERIFY(guides > 0);
}

#include "tst_align.moc"

// The canvas for the keyboard and screen readers, and the boxes that say when the
// element does not take what they hold.
#define QTEST_QPA_MOUSE_HANDLING
#include "editorfixture.h"
#include "elements/programstate.h"
#include "extras/canvas/canvasaccessible.h"
#include "extras/lists/listpanels.h"
#include "extras/session/boxcheck.h"
#include "resources/canvasview.h"

#include <QAccessible>
#include <QScrollBar>
#include <QtTest>

using namespace fixture;

namespace {

// What screen readers were told: the kind of each event and the object it names.
std::vector<std::pair<QAccessible::Event, QObject*>> g_told;
void listen(QAccessibleEvent* event) {
    g_told.emplace_back(event->type(), event->object());
}

QAccessibleInterface* canvasOf(frmMain& w) {
    return QAccessible::queryAccessibleInterface(&canvasView(w));
}

void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// The whole text at once, as pasted with Ctrl+V.
void paste(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    box->insert(text);
    QTest::keyRelease(box, Qt::Key_V, Qt::ControlModifier);
}

} // namespace

class tst_Access : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void canvasChildren_data();
    void canvasChildren();
    void activeElementAnnounced_data();
    void activeElementAnnounced();
    void keyboardOnTheCanvas();
    void boxesSayWhatIsNotTaken_data();
    void boxesSayWhatIsNotTaken();
    void boxesBeforeTheFirstLoad();
    void elementsOwnVerdict();

private:
    std::unique_ptr<Editor> editor;
    frmMain& w() { return editor->w(); }
    BoxCheck& check() { return editor->bench().boxCheck(); }
};

void tst_Access::initTestCase() {
    // Without a screen reader Qt passes nothing on: the announcements come here.
    canvas::installAnnouncementSink(listen);
}

void tst_Access::init() {
    QLocale::setDefault(QLocale::c());
    editor = std::make_unique<Editor>();
    g_told.clear();
}

void tst_Access::cleanup() {
    editor.reset();
}

void tst_Access::canvasChildren_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("hidden"); // hidden in the element list, or -1
    QTest::newRow("Kartenansicht 1") << 0 << -1;
    QTest::newRow("Kartenansicht 3") << 2 << -1;
    QTest::newRow("log hidden in the list") << 0 << 21;
}

void tst_Access::canvasChildren() {
    QFETCH(int, view);
    QFETCH(int, hidden);
    QAccessibleInterface* canvas = canvasOf(w());
    QVERIFY(canvas);
    QCOMPARE(canvas->role(), QAccessible::Canvas);
    QCOMPARE(canvas->childCount(), 0); // nothing loaded
    w().ComboAnsicht->setCurrentIndex(view);
    editor->loadStandard();
    if (hidden >= 0)
        editor->bench().listPanels().flags().setHidden(hidden, true);

    QStringList names;
    for (int i = 0; i < kElementCount; ++i)
        if (!w().elementPicture(i)->isHidden())
            names << programState().ElementCatalogue[std::size_t(i)].iniName;
    QCOMPARE(canvas->childCount(), names.size());
    QStringList told;
    for (int k = 0; k < canvas->childCount(); ++k) {
        QAccessibleInterface* child = canvas->child(k);
        QVERIFY(child);
        told << child->text(QAccessible::Name);
        QCOMPARE(child->parent(), canvas);
        QCOMPARE(canvas->indexOfChild(child), k);
        auto* picture = qobject_cast<QWidget*>(child->object());
        QCOMPARE(child->rect(), QRect(picture->mapToGlobal(QPoint(0, 0)), picture->size()));
        const bool active = picture == w().elementPicture(24);
        QCOMPARE(bool(child->state().selected), active);
        if (active) {
            QCOMPARE(child->text(QAccessible::Description),
                     QStringLiteral("X 156, Y 22, Breite 41, Höhe 35"));
            QCOMPARE(canvas->childAt(child->rect().center().x(), child->rect().center().y()),
                     child);
        }
    }
    QCOMPARE(told, names);
    if (hidden >= 0)
        QVERIFY(!told.contains(programState().ElementCatalogue[std::size_t(hidden)].iniName));
}

void tst_Access::activeElementAnnounced_data() {
    QTest::addColumn<bool>("canvasFocused");
    QTest::newRow("focus in a box") << false;
    QTest::newRow("focus on the canvas") << true;
}

void tst_Access::activeElementAnnounced() {
    QFETCH(bool, canvasFocused);
    editor->loadStandard();
    QVERIFY(editor->activate());
    if (canvasFocused)
        canvasView(w()).setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    g_told.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier); // win to gps
    QObject* gps = w().elementPicture(23);
    const auto toldOf = [gps](QAccessible::Event kind) {
        return std::count(g_told.begin(), g_told.end(), std::make_pair(kind, gps));
    };
    QTRY_COMPARE(toldOf(QAccessible::Selection), 1);
    QCOMPARE(toldOf(QAccessible::Focus), canvasFocused ? 1 : 0);
    QAccessibleInterface* canvas = canvasOf(w());
    QCOMPARE(canvas->focusChild() ? canvas->focusChild()->object() : nullptr,
             canvasFocused ? gps : nullptr);
}

void tst_Access::keyboardOnTheCanvas() {
    editor->loadStandard();
    QVERIFY(editor->activate());
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&w(), Qt::Key_Plus, Qt::ControlModifier);
    ui::CanvasView& view = canvasView(w());
    QWidget* frame = view.findChild<QWidget*>(QStringLiteral("canvasFocusFrame"));
    QVERIFY(frame && !frame->isVisible());
    // By Tab only: from the last control of the form.
    w().BTNpos->setFocus();
    QTest::keyClick(w().BTNpos, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &view);
    QVERIFY(frame->isVisible());
    const QPoint scrolled(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
    // Arrows nudge the active element and leave the canvas where it is.
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Down);
    QCOMPARE(w().txtX->text(), QStringLiteral("157"));
    QCOMPARE(w().txtY->text(), QStringLiteral("23"));
    QCOMPARE(QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()),
             scrolled);
    // Ctrl+Tab cycles; the canvas keeps the keyboard.
    QTest::keyClick(&view, Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(w().Selector->Tag() != QStringLiteral("24"));
    QCOMPARE(QApplication::focusWidget(), &view);
    // A click on an element leaves the keyboard where it was.
    w().txtCX->setFocus();
    QVERIFY(!frame->isVisible());
    QWidget* gps = w().elementPicture(23);
    view.ensureWidgetVisible(gps);
    QTest::mouseClick(&w(), Qt::LeftButton, {}, gps->mapTo(&w(), QPoint(20, 20)));
    QCOMPARE(w().Selector->Tag(), QStringLiteral("23"));
    QCOMPARE(QApplication::focusWidget(), w().txtCX);
}

void tst_Access::boxesSayWhatIsNotTaken_data() {
    QTest::addColumn<int>("box"); // 0 to 3: X, Y, CX, CY
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why"); // a part of the tip; empty: taken

    const QList<std::tuple<const char*, int, const char*, const char*>> rows{
        {"a number", 0, "12", ""},
        {"a negative position", 1, "-5", ""},
        {"letters", 0, "abc", "„abc“ ist keine Zahl."},
        {"two points", 3, "1.2.3", "keine Zahl"},
        {"emptied", 1, "", "Kein Wert."},
        {"negative width", 2, "-5", "Die Breite kann nicht negativ sein."},
        {"negative height", 3, "-1", "Die Höhe kann nicht negativ sein."},
        {"beyond the range", 0, "2e8", "größer, als das Element halten kann"},
        {"not held exactly", 0, "10.5", "„10.5“ kann das Element nicht genau halten."},
        {"a width beyond it", 2, "150000000", "größer"},
    };
    for (const auto& [row, box, text, why] : rows)
        QTest::newRow(row) << box << text << why;
}

void tst_Access::boxesSayWhatIsNotTaken() {
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QString, why);
    editor->loadStandard();
    ui::TextBox* boxes[] = {w().txtX, w().txtY, w().txtCX, w().txtCY};
    ui::TextBox* b = boxes[box];
    QWidget* red = b->findChild<QWidget*>(QStringLiteral("notTakenFrame"));
    QVERIFY(red && !red->isVisible());
    b->setToolTip(QStringLiteral("own tip"));
    const QString before = b->text();
    const ui::ImageControl* win = w().elementPicture(24);
    const double geometry[] = {win->Left(), win->Top(), win->Width(), win->Height()};

    paste(b, text);
    QCOMPARE(b->text(), text);
    QCOMPARE(check().marked(*b), !why.isEmpty());
    QCOMPARE(red->isVisible(), !why.isEmpty());
    if (why.isEmpty()) {
        QCOMPARE(b->toolTip(), QStringLiteral("own tip"));
        return;
    }
    QVERIFY2(b->toolTip().contains(why), qPrintable(b->toolTip()));
    QVERIFY(b->toolTip().endsWith(QStringLiteral("Das Element behält seinen Wert.")));
    // The element keeps its last good value.
    const double now[] = {win->Left(), win->Top(), win->Width(), win->Height()};
    QCOMPARE(now[box], geometry[box]);
    // A good value takes the mark and the tip away again.
    type(b, before);
    QVERIFY(!red->isVisible());
    QCOMPARE(b->toolTip(), QStringLiteral("own tip"));
}

void tst_Access::boxesBeforeTheFirstLoad() {
    // Empty boxes with nothing to take them are no fault: the first look stays as it is.
    for (ui::TextBox* b : {w().txtX, w().txtY, w().txtCX, w().txtCY}) {
        QVERIFY(b->text().isEmpty());
        QVERIFY(!check().marked(*b));
    }
    type(w().txtX, "abc");
    QVERIFY(!check().marked(*w().txtX));
}

void tst_Access::elementsOwnVerdict() {
    editor->loadStandard();
    // The element may refuse a number it cannot hold exactly, with its reason.
    const QString reason = QStringLiteral("Das Element hält nur ganze Twips.");
    type(w().txtX, "10.4");
    QVERIFY(!check().marked(*w().txtX));
    w().txtX->setProperty("notTaken", reason);
    QVERIFY(check().marked(*w().txtX));
    QCOMPARE(w().txtX->toolTip(), reason);
    w().txtX->setProperty("notTaken", QVariant());
    QVERIFY(!check().marked(*w().txtX));
}

QTEST_MAIN(tst_Access)
#include "tst_access.moc"

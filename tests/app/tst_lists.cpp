// The element list and the problem list beside the controls: choosing elements in both
// directions, hiding and locking, the problems after loads and saves, the first look.
#define QTEST_QPA_MOUSE_HANDLING // clicks reach the widget under the pointer, as a user's
#include "app/Global.h"
#include "app/translations.h"
#include "editorfixture.h"
#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "extras/lists/elementlist.h"
#include "extras/lists/listpanels.h"
#include "extras/lists/paneltable.h"
#include "extras/lists/problemlist.h"
#include "skincheck/check.h"

#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QSaveFile>
#include <QtTest>

using namespace fixture;

namespace {

// win (24) lies exactly on gps (23), in front of it.
QByteArray defaultsWinOnGps() {
    return layout({"log:2,84,40,36", "tmc:2,124,40,36", "gps:2,164,39,34", "win:2,164,39,34"});
}

// Loads the folder and gives the window the keyboard back from the folder dialog.
// Waits for the check of the files that follows.
void load(Editor& editor, const QString& folder) {
    editor.load(folder);
    QVERIFY(editor.activate());
    QTRY_VERIFY(!editor.bench().listPanels().checking());
}

lists::ListPanels& panels(Editor& editor) {
    return editor.bench().listPanels();
}

lists::PanelTable& elementTable(Editor& editor) {
    return panels(editor).elementPanel()->table();
}

QString sampleFolder() {
    return QStringLiteral(TESSEL_SOURCE_DIR "/skins/sample");
}

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        QVERIFY(QFile::copy(from + "/" + name, to + "/" + name));
}

QByteArray badWin(QByteArray defaults) {
    return defaults.replace("x=156", "x=abc");
}

QStringList germanTexts(const std::vector<cli::Finding>& findings) {
    QStringList texts;
    for (const cli::Finding& f : findings)
        texts << f.german;
    return texts;
}

} // namespace

class tst_Lists : public QObject {
    Q_OBJECT

private slots:
    void choosingFollowsBothWays_data();
    void choosingFollowsBothWays();
    void hideAndLock_data();
    void hideAndLock();
    void rowsGreyedOutsideTheView();
    void problemsFollowTheFiles_data();
    void problemsFollowTheFiles();
    void sampleIsCleanAndSavedUnchanged();
    void panelsKeepTheFirstLook_data();
    void panelsKeepTheFirstLook();
    void menuOnlyOnTheBareSurface_data();
    void menuOnlyOnTheBareSurface();
    void qtTextsInGerman();
};

void tst_Lists::choosingFollowsBothWays_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("expected"); // the element active afterwards, and the list's row
    QTest::newRow("click on a row") << "row click" << 22;
    QTest::newRow("arrow key in the list moves the row, not the element") << "row down" << 22;
    QTest::newRow("arrow key past the last row moves nothing") << "last row down" << 24;
    QTest::newRow("first letters of a name") << "row typing" << 23;
    QTest::newRow("click on the canvas") << "canvas click" << 21;
    QTest::newRow("Ctrl+Tab") << "ctrl tab" << 1;
    QTest::newRow("undo brings the element back and its values") << "undo" << 21;
    QTest::newRow("typing in a box: the row follows") << "typing" << 24;
}

void tst_Lists::choosingFollowsBothWays() {
    QFETCH(QString, how);
    QFETCH(int, expected);
    Editor editor;
    load(editor, editor.standardSkin());
    QTest::keyClick(&editor.w(), Qt::Key_F6);
    QVERIFY(panels(editor).elementListOpen());
    lists::PanelTable& table = elementTable(editor);
    QTRY_VERIFY(table.hasFocus());
    QTRY_COMPARE(table.currentIndex().row(), 24); // win, active after a load

    QList<QRect> before;
    for (int i = 0; i < lists::ElementModel::kRows; ++i)
        before << editor.canvasRect(i);
    if (how == "row click") {
        table.scrollTo(table.model()->index(22, 0));
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {},
                          table.visualRect(table.model()->index(22, 0)).center());
    } else if (how == "row down") {
        table.showRow(21);
        QTest::keyClick(&table, Qt::Key_Down);
    } else if (how == "last row down") {
        QTest::keyClick(&table, Qt::Key_Down);
    } else if (how == "row typing") {
        QTest::keyClicks(&table, "gp");
    } else if (how == "canvas click") {
        QTest::mouseClick(editor.w().elementPicture(21), Qt::LeftButton, {}, QPoint(20, 18));
    } else if (how == "ctrl tab") {
        editor.w().txtX->setFocus();
        QTest::keyClick(editor.w().txtX, Qt::Key_Tab, Qt::ControlModifier);
    } else if (how == "typing") {
        editor.w().txtX->setFocus();
        editor.w().txtX->selectAll();
        QTest::keyClicks(editor.w().txtX, "7");
        QTRY_COMPARE(table.model()->index(24, lists::ElementModel::X).data().toString(),
                     QStringLiteral("7"));
        before[24] = editor.canvasRect(24);
    } else if (how == "undo") {
        editor.drag(21, QPoint(20, 18), QPoint(30, 28));
        QTRY_COMPARE(table.model()->index(21, lists::ElementModel::X).data().toString(),
                     QStringLiteral("12"));
        QTest::mouseClick(editor.w().elementPicture(22), Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE(table.currentIndex().row(), 22);
        QTest::keyClick(editor.w().txtX, Qt::Key_Z, Qt::ControlModifier);
    }
    QTRY_COMPARE(editor.w().Selector->Tag(), QString::number(expected));
    QTRY_COMPARE(table.currentIndex().row(), expected);
    QCOMPARE(editor.w().LBLiniName->text(), Global::elementName(expected));
    const auto texts = elementAt(expected).coordinateTexts();
    QCOMPARE(editor.w().txtX->text(), texts[0]);
    for (int column = 0; column < 4; ++column)
        QCOMPARE(table.model()->index(expected, lists::ElementModel::X + column).data().toString(),
                 texts[std::size_t(column)]);
    for (int i = 0; i < lists::ElementModel::kRows; ++i)
        QCOMPARE(editor.canvasRect(i), before[i]);      // choosing moves nothing
    QCOMPARE(programState().bChanged, how == "typing"); // choosing alone changes nothing
}

void tst_Lists::hideAndLock_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("hidden: not drawn, the click reaches gps")
        << int(lists::ElementModel::Hide) << false;
    QTest::newRow("locked: drawn, the click reaches gps") << int(lists::ElementModel::Lock) << true;
}

void tst_Lists::hideAndLock() {
    QFETCH(int, column);
    QFETCH(bool, drawn);
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), defaultsWinOnGps());
    load(editor, skin);
    frmMain& w = editor.w();
    const QPoint spot = w.elementPicture(24)->mapTo(&w, w.elementPicture(24)->rect().center());
    QTest::mouseClick(&w, Qt::LeftButton, {}, spot);
    QCOMPARE(w.Selector->Tag(), QStringLiteral("24")); // in front

    panels(editor).setElementListOpen(true);
    QAbstractItemModel* model = elementTable(editor).model();
    QVERIFY(model->setData(model->index(24, column), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(w.elementPicture(24)->isVisible(), drawn);
    QTest::mouseClick(&w, Qt::LeftButton, {}, spot);
    QCOMPARE(w.Selector->Tag(), QStringLiteral("23"));

    // Still reachable through the list and the pad; nothing of it is written.
    elementTable(editor).showRow(-1);
    QTest::mouseClick(elementTable(editor).viewport(), Qt::LeftButton, {},
                      elementTable(editor).visualRect(model->index(24, 0)).center());
    QCOMPARE(w.Selector->Tag(), QStringLiteral("24"));
    QTest::keyClick(w.txtX, Qt::Key_Right);
    QCOMPARE(editor.canvasRect(24).x(), 3);
    w.BTNSave_Click();

    // Kept by a reload of another view, forgotten by the next folder.
    w.ComboAnsicht->setText("Kartenansicht 2");
    w.ComboAnsicht_Click();
    QVERIFY(model->index(24, column).data(Qt::CheckStateRole).toInt() == Qt::Checked);
    QCOMPARE(w.elementPicture(24)->isVisible(), drawn);
    load(editor, skin);
    QVERIFY(model->index(24, column).data(Qt::CheckStateRole).toInt() == Qt::Unchecked);
    QVERIFY(w.elementPicture(24)->isVisible());
    QTest::mouseClick(&w, Qt::LeftButton, {}, spot);
    QCOMPARE(w.Selector->Tag(), QStringLiteral("24"));
}

void tst_Lists::rowsGreyedOutsideTheView() {
    Editor editor;
    load(editor, editor.standardSkin());
    panels(editor).setElementListOpen(true);
    const QAbstractItemModel* model = elementTable(editor).model();
    for (const char* view : {"Kartenansicht 2", "Kartenansicht 3", "Kartenansicht 1"}) {
        editor.w().ComboAnsicht->setText(view);
        editor.w().ComboAnsicht_Click();
        int greyed = 0;
        for (int i = 0; i < lists::ElementModel::kRows; ++i) {
            const bool grey = model->index(i, 0).data(Qt::ForegroundRole).isValid();
            QVERIFY2(grey != editor.w().elementPicture(i)->isVisible(),
                     qPrintable(QStringLiteral("%1 in %2").arg(Global::elementName(i), view)));
            greyed += grey;
        }
        QVERIFY(greyed > 0);
    }
}

void tst_Lists::problemsFollowTheFiles_data() {
    QTest::addColumn<QByteArray>("mapview"); // empty: left out
    QTest::addColumn<QByteArray>("defaults");
    QTest::addColumn<QString>("after"); // what happens after the load
    QTest::addColumn<bool>("opened");   // the list opened by itself at the load
    QTest::addColumn<QString>("about"); // the rows compared: those with this text
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("counts"); // the list's title at the end

    const QByteArray m = standardMapview();
    const QByteArray d = standardDefaults();
    const QString winNoNumber = QStringLiteral(
        "[win] x=abc ist keine Zahl; der Editor setzt das Element an seinen Anfangsplatz");
    QTest::newRow("an error opens the list") << m << badWin(d) << "" << true << "[win]"
                                             << QStringList{winNoNumber} << "1 Fehler, 5 Warnungen";
    QTest::newRow("neither file: the two missing ones")
        << QByteArray() << QByteArray() << "" << true << ""
        << QStringList{"Datei fehlt", "Datei fehlt"} << "2 Fehler, 0 Warnungen";
    QTest::newRow("the save writes what it warned about")
        << m << d << "save" << false << "[from]" << QStringList{} << "0 Fehler, 2 Warnungen";
    QTest::newRow("a file changed elsewhere is checked at the reload")
        << m << d << "outside" << false << "[win]" << QStringList{winNoNumber}
        << "1 Fehler, 5 Warnungen";
    // The save cannot write the file with the error, and rewrites what it warned about.
    QTest::newRow("closed by the user: a save leaves it closed, a load opens it")
        << m << badWin(d) << "close, save, load" << true << "[win]" << QStringList{winNoNumber}
        << "1 Fehler, 2 Warnungen";
    QTest::newRow("one of each")
        << readFile(sampleFolder() + "/mapviewlt.ini").replace("x=0\r\ny=301", "x=5\r\ny=301")
        << badWin(readFile(sampleFolder() + "/defaultlt.ini")) << "" << true << "[win]"
        << QStringList{winNoNumber} << "1 Fehler, 1 Warnung";
}

void tst_Lists::problemsFollowTheFiles() {
    QFETCH(QByteArray, mapview);
    QFETCH(QByteArray, defaults);
    QFETCH(QString, after);
    QFETCH(bool, opened);
    QFETCH(QString, about);
    QFETCH(QStringList, texts);
    QFETCH(QString, counts);
    Editor editor;
    const QString skin = editor.makeSkin(mapview, defaults);
    load(editor, skin);
    QCOMPARE(panels(editor).problemListOpen(), opened);
    const auto found = [&] { return germanTexts(panels(editor).findings()).filter(about); };
    if (after == "save") {
        QVERIFY(!found().isEmpty()); // "from" has an x of its own
        editor.w().BTNSave_Click();
    } else if (after == "outside") {
        QVERIFY(found().isEmpty());
        QSaveFile file(skin + "/defaultlt.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(badWin(defaults));
        QVERIFY(file.commit());
    } else if (after == "close, save, load") {
        QTest::keyClick(&editor.w(), Qt::Key_F7);
        QVERIFY(QFile::setPermissions(skin + "/defaultlt.ini", QFile::ReadOwner));
        BoxAnswerer failed("OK");
        editor.w().BTNSave_Click();
        QCOMPARE(failed.count, 1);
        QTRY_VERIFY(!panels(editor).checking());
        QVERIFY(!found().isEmpty());
        QVERIFY(!panels(editor).problemListOpen());
        BoxAnswerer drop("Nein"); // the file not written stays marked as unsaved
        load(editor, skin);
    }
    QTRY_COMPARE(found(), texts);
    QCOMPARE(panels(editor).problemListOpen(), opened || !texts.isEmpty());

    // The list shows them all; each element with a problem has its corner, no other.
    panels(editor).setProblemListOpen(true);
    lists::ProblemPanel& list = *panels(editor).problemPanel();
    const auto& findings = panels(editor).findings();
    QCOMPARE(list.model().rowCount(), int(findings.size()));
    QCOMPARE(list.findChild<QLabel*>()->text(), "Probleme: " + counts);
    for (int i = 0; i < lists::ElementModel::kRows; ++i) {
        const bool has = std::any_of(findings.cbegin(), findings.cend(),
                                     [i](const cli::Finding& f) { return f.element == i; });
        QCOMPARE(editor.w().elementPicture(i)->findChild<QWidget*>("ProblemMark") != nullptr, has);
    }
    // Choosing the row of an element makes it the active one.
    const auto row = std::find_if(findings.cbegin(), findings.cend(),
                                  [](const cli::Finding& f) { return f.element == 24; });
    if (row == findings.cend())
        return;
    elementAt(21).Select();
    const QModelIndex cell = list.model().index(int(row - findings.cbegin()), 2);
    list.table().scrollTo(cell);
    QTest::mouseClick(list.table().viewport(), Qt::LeftButton, {},
                      list.table().visualRect(cell).center());
    QCOMPARE(editor.w().Selector->Tag(), QStringLiteral("24"));
}

void tst_Lists::sampleIsCleanAndSavedUnchanged() {
    QVERIFY(cli::checkSkin(sampleFolder()).empty());
    Editor editor;
    const QString copy = editor.workPath() + "/sample";
    copyFolder(sampleFolder(), copy);
    for (const char* view : {"Kartenansicht 1", "Kartenansicht 2", "Kartenansicht 3"}) {
        editor.w().ComboAnsicht->setText(view);
        editor.load(copy);
        editor.w().BTNSave_Click();
        for (const char* file : {"/mapviewlt.ini", "/defaultlt.ini"})
            QCOMPARE(readFile(copy + file), readFile(sampleFolder() + file));
    }
    QTRY_VERIFY(!panels(editor).checking());
    QVERIFY(panels(editor).findings().empty());
}

void tst_Lists::panelsKeepTheFirstLook_data() {
    QTest::addColumn<QByteArray>("settings"); // the section "Ansicht" of Tessel.ini
    QTest::addColumn<bool>("elements");
    QTest::addColumn<bool>("problems");
    QTest::newRow("first start: both closed") << QByteArray() << false << false;
    QTest::newRow("element list remembered") << QByteArray("Elementliste=1\r\n") << true << false;
    QTest::newRow("both remembered")
        << QByteArray("Elementliste=1\r\nProblemliste=1\r\n") << true << true;
}

void tst_Lists::panelsKeepTheFirstLook() {
    QFETCH(QByteArray, settings);
    QFETCH(bool, elements);
    QFETCH(bool, problems);
    QTemporaryDir work;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(work.path());
    writeFile(work.filePath("Tessel.ini"), "[Ansicht]\r\n" + settings);
    {
        const ui::MainForm bare; // the first look
        QHash<QString, QRect> look;
        for (QWidget* child : bare.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            look.insert(child->objectName(), child->geometry());
        Workbench bench;
        frmMain& w = bench.window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTRY_COMPARE(bench.listPanels().elementListOpen(), elements);
        QTRY_COMPARE(bench.listPanels().problemListOpen(), problems);
        const int open = (elements || problems) ? lists::ListPanels::kPanelWidth : 0;
        QCOMPARE(w.width(), ui::MainForm::kClientWidth + open);
        // Every control of the first look where it was in the form, the window between
        // its menu bar and status bar (the canvas pieces inside the canvas area); anything
        // new in the form stands right of them.
        const QRect form = bench.formArea();
        for (auto it = look.cbegin(); it != look.cend(); ++it) {
            const QWidget* control = w.Controls(it.key());
            QVERIFY2(control, qPrintable(it.key()));
            QCOMPARE(QRect(control->mapTo(&w, QPoint(0, 0)) - form.topLeft(), control->size()),
                     it.value());
        }
        const QStringList bars{"menuBar", "statusBar"};
        for (QWidget* child : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!look.contains(child->objectName()) && child->isVisible() &&
                !child->findChild<QWidget*>(QStringLiteral("Shape1")) &&
                !bars.contains(child->objectName())) {
                QVERIFY(child->x() >= ui::MainForm::kClientWidth);
                QVERIFY(form.contains(child->geometry()));
            }
        // F6 toggles, and the settings remember it.
        QTest::keyClick(&w, Qt::Key_F6);
        QCOMPARE(bench.listPanels().elementListOpen(), !elements);
        QCOMPARE(Global::ReadIniValue(work.filePath("Tessel.ini"), "Ansicht", "Elementliste", 0),
                 elements ? QStringLiteral("0") : QStringLiteral("1"));
        if (!elements && !problems) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!bench.listPanels().elementListOpen());
            QCOMPARE(w.width(), ui::MainForm::kClientWidth);
        }
    }
    programState().reset();
    QDir::setCurrent(previous);
}

void tst_Lists::menuOnlyOnTheBareSurface_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("menu");
    QTest::newRow("bare window") << "bare" << true;
    QTest::newRow("map outside the elements") << "map" << true;
    QTest::newRow("element: it only becomes active") << "element" << false;
}

void tst_Lists::menuOnlyOnTheBareSurface() {
    QFETCH(QString, where);
    QFETCH(bool, menu);
    Editor editor;
    load(editor, editor.standardSkin());
    frmMain& w = editor.w();
    const QPoint point =
        where == "bare"  ? QPoint(300, 200)
        : where == "map" ? w.Image1->mapTo(&w, QPoint(120, 240))
                         : w.elementPicture(21)->mapTo(&w, w.elementPicture(21)->rect().center());
    QVERIFY(where != "map" || w.childAt(point) == w.Image1);
    QStringList shown;
    QTimer closer; // takes down any menu that opens, after noting what it offers
    connect(&closer, &QTimer::timeout, [&] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : popup->actions())
                shown << action->text() + " " + action->shortcut().toString();
            popup->close();
        }
    });
    closer.start(20);
    QTest::mouseClick(&w, Qt::RightButton, {}, point);
    if (shown.isEmpty()) { // the platform sends the menu event with the press, or not
        QWidget* hit = w.childAt(point) ? w.childAt(point) : &w;
        const QPoint local = hit->mapFrom(&w, point);
        QContextMenuEvent event(QContextMenuEvent::Mouse, local, hit->mapToGlobal(local));
        QCoreApplication::sendEvent(hit, &event);
    }
    QTest::qWait(60);
    // On the map the canvas menu carries the panels after its own entries.
    const QStringList offered{"Elementliste F6", "Problemliste F7"};
    QCOMPARE(shown.mid(std::max(0, int(shown.size()) - 2)), menu ? offered : QStringList());
    QCOMPARE(w.Selector->Tag(), where == "element" ? QStringLiteral("21") : QStringLiteral("24"));
}

void tst_Lists::qtTextsInGerman() {
    const QString file =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm");
    if (!QFile::exists(file))
        QSKIP("Qt's German translation is not installed");
    QVERIFY(translations::installQtGerman(*qApp));
    QCOMPARE(QKeySequence(Qt::ControlModifier | Qt::Key_H).toString(QKeySequence::NativeText),
             QStringLiteral("Strg+H"));
}

QTEST_MAIN(tst_Lists)
#include "tst_lists.moc"

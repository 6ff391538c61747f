// The menu bar (its entries, their keys, the folders used last, the key sheet) and the
// status bar.
#define QTEST_QPA_MOUSE_HANDLING
#include "app/Global.h"
#include "editorfixture.h"
#include "elements/programstate.h"
#include "extras/align/alignsession.h"
#include "extras/align/selection.h"
#include "extras/canvas/canvaszoom.h"
#include "extras/menus/keysheet.h"
#include "extras/menus/menubar.h"
#include "extras/menus/recentfolders.h"
#include "extras/status/statusline.h"
#include "resources/canvasview.h"

#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStyleFactory>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

using namespace fixture;

namespace {

QString plain(QString text) {
    return text.remove('&');
}

QMenu& menuNamed(Editor& e, const QString& title) {
    for (QAction* a : e.bench().menus().bar().actions())
        if (plain(a->text()) == title)
            return *a->menu();
    qFatal("no menu %s", qPrintable(title));
}

// The entry as the menu offers it when it opens.
QAction* entry(Editor& e, const QString& menu, const QString& text) {
    QMenu& m = menuNamed(e, menu);
    emit m.aboutToShow();
    for (QAction* a : m.actions())
        if (plain(a->text()) == text)
            return a;
    return nullptr;
}

QString settings(Editor& e, const QString& key, const QString& section = "Ansicht") {
    return Global::ReadIniValue(e.workPath() + "/Tessel.ini", section, key, "<none>");
}

} // namespace

class tst_Menus : public QObject {
    Q_OBJECT

private slots:
    // First: nothing before it has read a picture in this process.
    void startReadsNoImageFormats();
    void extensionButtonPicture();
    void entriesShowTheirKeys_data();
    void entriesShowTheirKeys();
    void mnemonicsKeepClearOfTheAlignKeys();
    void keysActOnceEach_data();
    void keysActOnceEach();
    void menuByKeyboard();
    void snappingRemembered();
    void recentFolders();
    void keySheetListsTheReadmesKeys();
    void zoomToSelectionCentresIt();
    void statusBar();
};

// The window's first look reads its pictures itself: no image format of the system
// is loaded for it.
void tst_Menus::startReadsNoImageFormats() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        QSKIP("no /proc/self/maps here");
    Editor editor;
    QTRY_VERIFY(editor.bench().menus().bar().isVisible());
    QVERIFY(!QString::fromLocal8Bit(maps.readAll()).contains(QStringLiteral("/imageformats/")));
}

// The menu bar's extension button, read late, has the style's own picture in every
// size, and shows it when the menus do not fit.
void tst_Menus::extensionButtonPicture() {
    Editor editor;
    QMenuBar& bar = editor.bench().menus().bar();
    auto* button = bar.findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
    QVERIFY(button != nullptr);
    QVERIFY(!button->icon().isNull());
    auto* proxy = qobject_cast<QProxyStyle*>(QApplication::style());
    QVERIFY(proxy != nullptr);
    const std::unique_ptr<QStyle> plain(QStyleFactory::create(proxy->baseStyle()->name()));
    QVERIFY(plain != nullptr);
    const QIcon expected = plain->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
    QCOMPARE(button->icon().availableSizes(), expected.availableSizes());
    for (int size : {8, 12, 16, 24, 32})
        QCOMPARE(button->icon().pixmap(size).toImage(), expected.pixmap(size).toImage());

    editor.w().resize(90, editor.w().height());
    QTRY_VERIFY(button->isVisible());
    const QSize shown = button->iconSize();
    QCOMPARE(button->icon().pixmap(shown).toImage(), expected.pixmap(shown).toImage());
}

void tst_Menus::entriesShowTheirKeys_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keys"); // portable
    const QList<QStringList> rows{
        {"Datei", "Laden...", "Ctrl+O"},
        {"Datei", "Speichern", "Ctrl+S"},
        {"Datei", "Beenden", "Ctrl+Q"},
        {"Bearbeiten", "Rückgängig", "Ctrl+Z"},
        {"Bearbeiten", "Wiederholen", "Ctrl+Y"},
        {"Bearbeiten", "Alles auswählen", "Ctrl+A"},
        {"Bearbeiten", "Linke Kanten ausrichten", "Alt+A"},
        {"Bearbeiten", "Vertikal zentrieren", "Alt+V"},
        {"Bearbeiten", "Horizontal verteilen", "Alt+Shift+H"},
        {"Bearbeiten", "Gleiche Breite", ""},
        {"Ansicht", "Vergrößern", "Ctrl++"},
        {"Ansicht", "Verkleinern", "Ctrl+-"},
        {"Ansicht", "100 %", "Ctrl+0"},
        {"Ansicht", "800 %", ""},
        {"Ansicht", "Zoom auf Auswahl", "Ctrl+2"},
        {"Ansicht", "Ganzer Bildschirm", "Ctrl+1"},
        {"Ansicht", "Pixelraster", "Ctrl+'"},
        {"Ansicht", "Einrasten", "F8"},
        {"Ansicht", "Elementliste", "F6"},
        {"Ansicht", "Problemliste", "F7"},
        {"Hilfe", "Tastenkürzel", "F1"},
        {"Hilfe", "Über Tessel", ""},
    };
    for (const QStringList& r : rows)
        QTest::addRow("%s", qPrintable(r[1])) << r[0] << r[1] << r[2];
}

void tst_Menus::entriesShowTheirKeys() {
    QFETCH(QString, menu);
    QFETCH(QString, text);
    QFETCH(QString, keys);
    Editor editor;
    QAction* action = entry(editor, menu, text);
    QVERIFY2(action, qPrintable(text));
    QCOMPARE(action->shortcut().toString(QKeySequence::PortableText), keys);
    // Only the open menu takes the key itself: the window's own keys act elsewhere. Ctrl+A
    // is Qt's own shortcut of the window, which a text field with the keyboard takes first.
    if (!keys.isEmpty())
        QCOMPARE(action->shortcutContext(),
                 text == "Alles auswählen" ? Qt::WindowShortcut : Qt::WidgetShortcut);
}

void tst_Menus::mnemonicsKeepClearOfTheAlignKeys() {
    Editor editor;
    QStringList titles;
    QString letters;
    for (QAction* a : editor.bench().menus().bar().actions()) {
        titles << plain(a->text());
        const qsizetype at = a->text().indexOf('&');
        QVERIFY(at >= 0);
        letters += a->text().at(at + 1).toUpper();
    }
    QCOMPARE(titles, (QStringList{"Datei", "Bearbeiten", "Ansicht", "Hilfe"}));
    for (QChar c : letters)
        QVERIFY2(!QStringLiteral("ADWSHV").contains(c), qPrintable(letters));
    QCOMPARE(QSet<QChar>(letters.begin(), letters.end()).size(), letters.size());
}

void tst_Menus::keysActOnceEach_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("F1: the key sheet") << int(Qt::Key_F1) << 0;
    QTest::newRow("Ctrl+A: all of the view") << int(Qt::Key_A) << int(Qt::ControlModifier);
    QTest::newRow("F8: snapping") << int(Qt::Key_F8) << 0;
    QTest::newRow("Ctrl+S: one save") << int(Qt::Key_S) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+1: whole screen") << int(Qt::Key_1) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+2: the selection") << int(Qt::Key_2) << int(Qt::ControlModifier);
}

void tst_Menus::keysActOnceEach() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Editor editor;
    frmMain& w = editor.w();
    editor.loadStandard();
    int saves = 0;
    connect(&w, &frmMain::filesWritten, this, [&saves] { ++saves; });
    align::AlignSession& aids = editor.bench().alignment();
    aids.setSnapping(true);
    canvas::CanvasZoom& zoom = editor.bench().canvas();
    zoom.setPercent(300);

    // With the keyboard in a box, as after the start; Ctrl+A there selects the box's text.
    QTest::keyClick(w.txtX, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.txtX->hasSelectedText(), key == Qt::Key_A);
    if (key == Qt::Key_A) {
        QCOMPARE(int(aids.selection().size()), 1);
        QVERIFY(editor.activate()); // the folder dialog had it
        w.BTNSave->setFocus();      // elsewhere it selects the elements
        QTest::keyClick(w.BTNSave, Qt::Key_A, Qt::ControlModifier);
    }
    QCoreApplication::processEvents();
    auto* sheet = w.findChild<QDialog*>("keySheet");
    QCOMPARE(sheet && sheet->isVisible(), key == Qt::Key_F1);
    QCOMPARE(saves, key == Qt::Key_S ? 1 : 0);
    QCOMPARE(aids.snapping(), key != Qt::Key_F8);
    QCOMPARE(settings(editor, "Einrasten"), key == Qt::Key_F8 ? "0" : "<none>");
    int shown = 0;
    for (int i = 0; i < kElementCount; ++i)
        shown += w.elementPicture(i)->isVisible();
    QCOMPARE(int(aids.selection().size()), key == Qt::Key_A ? shown : 1);
    // On the test screen (800 x 800) the whole screen fits at 100 %, "win" at 800 %.
    QCOMPARE(zoom.percent(), key == Qt::Key_1 ? 100 : key == Qt::Key_2 ? 800 : 300);
}

void tst_Menus::menuByKeyboard() {
    Editor editor;
    frmMain& w = editor.w();
    QTest::keyClick(w.txtX, Qt::Key_I, Qt::AltModifier); // Hilfe
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_T); // Tastenkürzel
    QTRY_VERIFY(w.findChild<QDialog*>("keySheet") &&
                w.findChild<QDialog*>("keySheet")->isVisible());

    // "Über Tessel" from the menu; Beenden asks first and stays open on Abbrechen.
    BoxAnswerer ok("OK");
    entry(editor, "Hilfe", "Über Tessel")->trigger();
    QCOMPARE(ok.count, 1);
    QCOMPARE(ok.title, QStringLiteral("Über Tessel"));
    QVERIFY(ok.text.startsWith("Tessel v1.1"));
    editor.loadStandard();
    QTest::keyClick(w.txtX, Qt::Key_Up);
    BoxAnswerer cancel("Abbrechen");
    entry(editor, "Datei", "Beenden")->trigger();
    QCOMPARE(cancel.count, 1);
    QVERIFY(w.isVisible());
}

void tst_Menus::snappingRemembered() {
    Editor editor;
    align::AlignSession& aids = editor.bench().alignment();
    aids.setSnapping(true);
    entry(editor, "Ansicht", "Einrasten")->trigger();
    QVERIFY(!aids.snapping());
    QCOMPARE(settings(editor, "Einrasten"), "0");
    {
        const Workbench next; // a new start reads it
        QVERIFY(!next.alignment().snapping());
    }
    QAction* canvasEntry = nullptr; // the canvas menu's entry, which shows the key too
    for (QAction* a : aids.canvasMenu().actions())
        if (a->text().startsWith("Einrasten"))
            canvasEntry = a;
    QVERIFY(canvasEntry);
    QCOMPARE(canvasEntry->shortcut(), QKeySequence(Qt::Key_F8));
    canvasEntry->trigger();
    QVERIFY(aids.snapping());
    QCOMPARE(settings(editor, "Einrasten"), "1");
    QVERIFY(entry(editor, "Ansicht", "Einrasten")->isChecked());
}

void tst_Menus::recentFolders() {
    Editor editor;
    frmMain& w = editor.w();
    QStringList folders;
    for (int i = 0; i < 7; ++i) {
        folders << editor.standardSkin(QString("skin%1").arg(i));
        editor.load(folders.last());
    }
    editor.load(folders[5]); // again: moves to the top
    const auto shown = [&] {
        QStringList texts;
        emit menuNamed(editor, "Datei").aboutToShow();
        for (QAction* a : editor.bench().recentFolders().entries())
            texts << a->text();
        return texts;
    };
    QCOMPARE(shown(), (QStringList{"&1 " + folders[5], "&2 " + folders[6], "&3 " + folders[4],
                                   "&4 " + folders[3], "&5 " + folders[2]}));
    QCOMPARE(settings(editor, "lastDir", "Directory"), folders[5]);

    // Chosen with unsaved changes: the question first; Abbrechen keeps all as it is.
    QTest::keyClick(w.txtX, Qt::Key_Up);
    {
        BoxAnswerer cancel("Abbrechen");
        editor.bench().recentFolders().entries()[3]->trigger();
        QCOMPARE(cancel.count, 1);
        QCOMPARE(w.skinFolder(), folders[5] + "/");
    }
    {
        BoxAnswerer drop("Nein");
        editor.bench().recentFolders().entries()[3]->trigger();
        QCOMPARE(drop.count, 1);
        QCOMPARE(w.skinFolder(), folders[3] + "/");
        QVERIFY(w.loaded());
    }
    QCOMPARE(shown().first(), "&1 " + folders[3]);
    // A folder that is gone cannot be chosen.
    QVERIFY(QDir(folders[2]).removeRecursively());
    const std::vector<QAction*>& entries = (shown(), editor.bench().recentFolders().entries());
    QCOMPARE(entries.size(), std::size_t(5));
    QVERIFY(!entries[4]->isEnabled());
    QVERIFY(entries[0]->isEnabled());
}

void tst_Menus::keySheetListsTheReadmesKeys() {
    // Key combinations in the README's key table and on the sheet, in portable names.
    QFile readme(QStringLiteral(TESSEL_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype start = text.indexOf("### Mouse and keys");
    const QString table = text.mid(start, text.indexOf("\n#", start + 5) - start);
    QVERIFY(start >= 0 && table.size() > 100);
    static const QRegularExpression combination(
        R"((?:(?:Ctrl|Alt|Shift)\+)+(?:Plus|Minus|Tab|F\d+|[A-Z0-9='](?![a-z]))|\bF\d+\b)");
    QSet<QString> inReadme;
    for (const QString& line : table.split('\n')) {
        if (!line.startsWith("| ") || line.startsWith("| Action") || line.startsWith("| ---"))
            continue;
        auto it = combination.globalMatch(line.section('|', 1, 1));
        while (it.hasNext())
            inReadme << it.next().captured().replace("Plus", "+").replace("Minus", "-");
    }
    QSet<QString> onSheet;
    for (const menus::KeyRow& row : menus::keyRows())
        for (const QString& keys : row.keys)
            if (keys.contains('+') || keys.startsWith('F'))
                onSheet << keys;
    QCOMPARE(inReadme, onSheet);
    QVERIFY(onSheet.contains("F1") && onSheet.contains("F8") && onSheet.contains("Ctrl+2"));

    // The sheet shows every row, with the keys as the system names them.
    Editor editor;
    QDialog& sheet = menus::showKeySheet(editor.w());
    auto* rows = sheet.findChild<QTableWidget*>("keyTable");
    QVERIFY(rows);
    QCOMPARE(rows->rowCount(), int(menus::keyRows().size()));
    QCOMPARE(&menus::showKeySheet(editor.w()), &sheet); // built once
}

void tst_Menus::zoomToSelectionCentresIt() {
    Editor editor;
    frmMain& w = editor.w();
    editor.loadStandard();
    // log (2, 84, 40 x 36), tmc and gps (2, 164, 39 x 34): 40 x 114 together.
    QTest::mouseClick(w.elementPicture(21), Qt::LeftButton);
    QTest::mouseClick(w.elementPicture(22), Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseClick(w.elementPicture(23), Qt::LeftButton, Qt::ControlModifier);
    entry(editor, "Ansicht", "Zoom auf Auswahl")->trigger();
    // The test screen is 800 x 800: 114 x 8 is taller than the canvas can be.
    QCOMPARE(editor.bench().canvas().percent(), 600);
    auto& view = editor.bench().canvas().view();
    QTRY_VERIFY(!view.findChild<QObject*>("centreKeeper"));
    const QPoint middle =
        view.viewport()->rect().center() +
        QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
    const QPointF device = view.surface().toDevice(middle);
    QVERIFY2(qAbs(device.x() - 22) <= 1 && qAbs(device.y() - 141) <= 1,
             qPrintable(QString("%1, %2").arg(device.x()).arg(device.y())));
    // Nothing selected before a load: the entry cannot be chosen.
    Editor empty;
    QVERIFY(!entry(empty, "Ansicht", "Zoom auf Auswahl")->isEnabled());
}

void tst_Menus::statusBar() {
    Editor editor;
    frmMain& w = editor.w();
    status::StatusLine& line = editor.bench().statusLine();
    QCOMPARE(line.selectionText(), QStringLiteral("Kein Element aktiv"));
    QCOMPARE(line.zoomText(), QStringLiteral("Zoom: 100 %"));
    const QString skin = editor.loadStandard();
    QTRY_COMPARE(line.selectionText(), QStringLiteral("Aktiv: win"));

    // The pointer in device pixels: over "log" (2, 84), on the margin, off the canvas.
    QTest::mouseMove(&w, w.elementPicture(21)->mapTo(&w, QPoint(5, 7)));
    QCOMPARE(line.pointerText(), QStringLiteral("Zeiger: 7, 91"));
    QTest::mouseMove(&w, w.Shape1->mapTo(&w, QPoint(-3, 100)));
    QCOMPARE(line.pointerText(), QStringLiteral("Zeiger: -3, 100"));
    QTest::mouseMove(&w, w.BTNLoad->mapTo(&w, QPoint(5, 5)));
    QCOMPARE(line.pointerText(), QStringLiteral("Zeiger: –"));

    QTest::mouseClick(w.elementPicture(21), Qt::LeftButton);
    QTest::mouseClick(w.elementPicture(22), Qt::LeftButton, Qt::ControlModifier);
    QTRY_COMPARE(line.selectionText(), QStringLiteral("Aktiv: tmc (2 ausgewählt)"));
    QTest::keyClick(w.txtX, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(line.zoomText(), QStringLiteral("Zoom: 200 %"));

    QTest::keyClick(w.txtX, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(line.message(), QStringLiteral("Gespeichert: mapviewlt.ini, defaultlt.ini"));
    QTest::keyClick(w.txtX, Qt::Key_Left);
    QVERIFY(QFile::setPermissions(skin + "/defaultlt.ini", QFile::ReadOwner));
    BoxAnswerer warning("OK");
    QTest::keyClick(w.txtX, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(warning.count, 1);
    QCOMPARE(line.message(),
             QStringLiteral("Nicht gespeichert: defaultlt.ini (gespeichert: mapviewlt.ini)"));
}

QTEST_MAIN(tst_Menus)
#include "tst_menus.moc"

// Start-up: the catalogue, the hidden pictures, the settings file.
#include "app/Global.h"
#include "editorfixture.h"
#include "elements/programstate.h"

#include <QDir>
#include <QtTest>

using namespace fixture;

class tst_Startup : public QObject {
    Q_OBJECT

private slots:
    void catalogue_data();
    void catalogue();
    void windowAsFirstSeen();
    void firstStartWithoutSettingsFile();
    void settingsFileFollowsCurrentDirectory();
    void longSkinFolderIsRemembered();
    void profileRoutines_data();
    void profileRoutines();
};

void tst_Startup::catalogue_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("depend");
    QTest::addColumn<QString>("views"); // "012": shown in view 0, 1, 2

    const char* const rows[][4] = {
        {"zoomwin", "m", ".", ".1."},    {"infobar", "m", ".", "0.2"},
        {"to", "m", "d", "0.."},         {"from", "m", "d", "0.2"},
        {"routeinfo", "m", "d", "0.."},  {"nextinfo", "m", "d", "0.."},
        {"distance", "m", "d", "0.."},   {"schematic2", "m", "d", "0.."},
        {"schematic", "m", "d", "0.."},  {"birdview", "m", ".", ".1."},
        {"zoomout", "m", ".", ".1."},    {"zoomin", "m", ".", ".1."},
        {"auto", "m", ".", ".1."},       {"pan", "m", ".", ".1."},
        {"center", "m", ".", ".1."},     {"north", "m", ".", ".1."},
        {"route", "m", ".", ".1."},      {"info", "m", ".", "012"},
        {"Menu", "m", ".", "012"},       {"largedummy", "m", ".", "..2"},
        {"smalldummy", "m", ".", "0.."}, {"log", "d", ".", "012"},
        {"tmc", "d", ".", "012"},        {"gps", "d", ".", "012"},
        {"win", "d", ".", "012"},
    };
    for (int i = 0; i < 25; ++i)
        QTest::addRow("%d %s", i, rows[i][0])
            << i << rows[i][0]
            << (rows[i][1][0] == 'm' ? QStringLiteral("mapviewlt.ini")
                                     : QStringLiteral("defaultlt.ini"))
            << (rows[i][2][0] == 'd') << rows[i][3];
}

void tst_Startup::catalogue() {
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, file);
    QFETCH(bool, depend);
    QFETCH(QString, views);

    Editor editor;
    const ElementCatalogueEntry& e = programState().ElementCatalogue[index];
    QCOMPARE(e.iniName, name);
    QCOMPARE(e.iniFile, file);
    QCOMPARE(e.bDepend, depend);
    for (int v = 0; v < 3; ++v)
        QCOMPARE(e.bInView[v], views[v] != '.');
}

void tst_Startup::windowAsFirstSeen() {
    Editor editor;
    frmMain& w = editor.w();
    for (int i = 0; i < 25; ++i)
        QVERIFY2(w.elementPicture(i)->isHidden(), qPrintable(QString::number(i)));
    QVERIFY(w.Selector->isHidden());
    QCOMPARE(w.Selector->Tag(), QStringLiteral("-1"));
    QCOMPARE(w.LBLiniName->text(), QStringLiteral("nothing selected"));
    QCOMPARE(w.ComboAnsicht->Text(), QStringLiteral("Kartenansicht 1"));
    QCOMPARE(w.ChkInfobar->Value(), 1);
    QCOMPARE(w.BTNpos->Caption(), QStringLiteral("pos."));
    QCOMPARE(w.windowTitle(), QStringLiteral("Tessel"));
    QVERIFY(!w.loaded());
    QVERIFY(!programState().bChanged);
    QVERIFY(programState().Elements.empty());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.txtX));

    // Before anything is loaded, the view, the check box and Save do nothing.
    w.ComboAnsicht->setCurrentIndex(1);
    w.ComboAnsicht_Click();
    editor.click(w.ChkInfobar);
    editor.click(w.BTNSave);
    QTest::keyClick(w.txtX, Qt::Key_Up);
    QVERIFY(programState().Elements.empty());
    QCOMPARE(w.txtY->text(), QString());
    QVERIFY(QDir(editor.workPath()).entryList(QDir::Files).isEmpty());
}

void tst_Startup::firstStartWithoutSettingsFile() {
    Editor editor;
    QCOMPARE(editor.w().skinFolder(), QStringLiteral("/"));
    QVERIFY(!QFile::exists(editor.workPath() + "/Tessel.ini")); // start-up writes nothing

    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    editor.load(skin);
    QCOMPARE(editor.w().skinFolder(), skin + "/");
    QCOMPARE(readFile(editor.workPath() + "/Tessel.ini"), crlf({"[Directory]", "lastDir=" + skin}));
}

void tst_Startup::settingsFileFollowsCurrentDirectory() {
    QTemporaryDir other;
    writeFile(other.filePath("Tessel.ini"), crlf({"[Directory]", "lastDir = /srv/skins "}));
    {
        Editor editor;
        QCOMPARE(Global::settingsFile(), editor.workPath() + "/Tessel.ini");
        QDir::setCurrent(other.path());
        QCOMPARE(Global::settingsFile(), other.path() + "/Tessel.ini");
        // A new window started from the other folder reads the other file.
        frmMain second;
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QCOMPARE(second.skinFolder(), QStringLiteral("/srv/skins"));
    }
}

// A folder path far beyond 1023 bytes is loaded, remembered and read back whole.
void tst_Startup::longSkinFolderIsRemembered() {
    Editor editor;
    QString name = QStringLiteral("skin");
    while (QFile::encodeName(editor.workPath() + '/' + name).size() < 3800)
        name += '/' + QString(200, QChar('d'));
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults(), name);
    editor.load(skin);
    QVERIFY(editor.w().loaded());
    QCOMPARE(editor.w().skinFolder(), skin + "/");
    QCOMPARE(readFile(editor.workPath() + "/Tessel.ini"), crlf({"[Directory]", "lastDir=" + skin}));

    frmMain second;
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QCOMPARE(second.skinFolder(), skin);
}

void tst_Startup::profileRoutines_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("present") << crlf({"[a]", "x=12"}) << "x"
                             << "12";
    QTest::newRow("missing key: default") << crlf({"[a]", "y=1"}) << "x"
                                          << "20";
    QTest::newRow("empty value is not the default") << crlf({"[a]", "x="}) << "x"
                                                    << "";
    QTest::newRow("case, blanks, quotes") << crlf({"[A]", " X = \"7 \" "}) << "x"
                                          << "7 ";
    QTest::newRow("cut to 1023") << crlf({"[a]", "x=" + QString(2000, 'v')}) << "x"
                                 << QString(1023, 'v');
    QTest::newRow("8-bit text") << QByteArray("[a]\r\nx=Stra\xc3\x9f"
                                              "e\r\n")
                                << "x" << QString::fromUtf8("Straße");
}

void tst_Startup::profileRoutines() {
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString file = dir.filePath("t.ini");
    writeFile(file, content);
    QCOMPARE(Global::ReadIniValue(file, "a", key, 20), expected);

    // A write hands its result back and keeps the rest of the file.
    QVERIFY(Global::WriteIniValue(file, "a", "new", "1"));
    QCOMPARE(Global::ReadIniValue(file, "a", key, 20), expected);
    QVERIFY(!Global::WriteIniValue(dir.filePath("missing/t.ini"), "a", "x", "1"));
    QVERIFY(!Global::WriteIniValue(file, "a", "x", "1\r\n[b]"));
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"

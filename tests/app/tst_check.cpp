// tessel --check: each kind of mistake in a skin found once, at its exact line, with
// what the editor does about it.
#include "editorfixture.h"
#include "skincheck/check.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace fixture;

namespace {

// A skin that lies on the screen in every view with the info bar on and off (info bar
// height 30). In mapviewlt.ini section k starts at line 5k + 1, in defaultlt.ini too.
QByteArray cleanMapview() {
    return layout({"zoomwin:200,60,25,105", "infobar:0,283,240,30",    "to:1,40,238,18",
                   "from:0,300,176,19",     "routeinfo:0,242,58,60",   "nextinfo:182,242,58,60",
                   "distance:64,57,58,40",  "schematic2:0,55,60,60",   "schematic:10,65,60,60",
                   "birdview:0,248,46,32",  "zoomout:194,284,46,32",   "zoomin:194,248,46,32",
                   "auto:0,284,46,32",      "pan:48,284,46,32",        "center:96,284,46,32",
                   "north:148,248,46,32",   "route:146,284,46,32",     "info:198,182,41,35",
                   "Menu:200,22,39,36",     "largedummy:5,283,230,19", "smalldummy:62,300,176,19"});
}

QByteArray cleanDefaults() {
    return layout({"log:2,84,40,36", "tmc:2,124,40,36", "gps:2,164,39,34", "win:156,22,41,35"});
}

QByteArray replaced(QByteArray text, const QByteArray& from, const QByteArray& to) {
    if (!text.contains(from))
        qFatal("test data: %s not found", from.constData());
    return text.replace(from, to);
}

// The lines of --check for a skin of these files (empty: the file is missing).
QStringList checked(const QByteArray& mapview, const QByteArray& defaults,
                    texts::Language language) {
    QTemporaryDir dir;
    if (!mapview.isEmpty())
        writeFile(dir.filePath("mapviewlt.ini"), mapview);
    if (!defaults.isEmpty())
        writeFile(dir.filePath("defaultlt.ini"), defaults);
    QStringList found;
    for (const cli::Finding& finding : cli::checkSkin(dir.path()))
        found << cli::formatFinding(finding, language).remove(dir.path() + "/");
    return found;
}

} // namespace

class tst_Check : public QObject {
    Q_OBJECT

private slots:
    void findings_data();
    void findings();
    void inGerman_data();
    void inGerman();
    void summary();
};

void tst_Check::findings_data() {
    QTest::addColumn<QByteArray>("mapview"); // empty: the file is missing
    QTest::addColumn<QByteArray>("defaults");
    QTest::addColumn<QStringList>("expected");

    const QByteArray m = cleanMapview();
    const QByteArray d = cleanDefaults();
    const QString outside =
        QStringLiteral("warning: [%1] lies %2 outside the 240 x 320 screen in ");

    QTest::newRow("clean, with what the editor ignores")
        << replaced(replaced(m, "[Menu]", "[MENU]"), "[from]\r\nx=0\r\n", "[from]\r\n") +
               "[other]\r\nx=abc\r\n"
        << replaced(d, "[log]\r\n", "[log]\r\nvisible= 1\r\n") << QStringList{};
    QTest::newRow("file missing") << m << QByteArray()
                                  << QStringList{"defaultlt.ini: error: file is missing"};
    QTest::newRow("x no number")
        << replaced(m, "[zoomwin]\r\nx=200", "[zoomwin]\r\nx=abc") << d
        << QStringList{"mapviewlt.ini:2: error: [zoomwin] x=abc is not a number; the editor "
                       "puts the element at its starting place"};
    QTest::newRow("routeinfo cy empty")
        << replaced(m, "x=0\r\ny=242\r\ncx=58\r\ncy=60", "x=0\r\ny=242\r\ncx=58\r\ncy=") << d
        << QStringList{"mapviewlt.ini:25: error: [routeinfo] cy has no value; the editor counts "
                       "it as 0"};
    QTest::newRow("info bar height no number: shift -2")
        << replaced(m, "cx=240\r\ncy=30", "cx=240\r\ncy=3O") << d
        << QStringList{"mapviewlt.ini:10: error: [infobar] cy=3O is not a number; the editor "
                       "takes 0 as the info bar's height and gives the element its starting height",
                       "mapviewlt.ini:16: " + outside.arg("from", "partly") +
                           "views 1 and 3 with the info bar on: 1 px beyond the bottom edge"};
    QTest::newRow("x of from, which the save writes as 0")
        << replaced(m, "[from]\r\nx=0", "[from]\r\nx=7") << d
        << QStringList{"mapviewlt.ini:17: warning: [from] x=7 is not used; the save writes x=0"};
    QTest::newRow("routeinfo height, which the save writes as 60")
        << replaced(m, "x=0\r\ny=242\r\ncx=58\r\ncy=60", "x=0\r\ny=222\r\ncx=58\r\ncy=80") << d
        << QStringList{"mapviewlt.ini:25: warning: [routeinfo] cy=80; the save writes cy=60 and "
                       "y=242, keeping the bottom edge"};
    QTest::newRow("section missing")
        << replaced(m, "[pan]\r\nx=48\r\ny=284\r\ncx=46\r\ncy=32\r\n", "") << d
        << QStringList{"mapviewlt.ini: warning: section [pan] missing; the editor uses its "
                       "defaults"};
    QTest::newRow("key missing")
        << replaced(m, "[pan]\r\nx=48\r\ny=284\r\ncx=46\r\ncy=32\r\n",
                    "[pan]\r\nx=48\r\ny=284\r\ncx=46\r\n")
        << d
        << QStringList{"mapviewlt.ini:66: warning: [pan] has no key cy; the editor uses cy=20"};
    QTest::newRow("key and section given twice")
        << m << d + "x=3\r\n[WIN]\r\nx=1\r\n"
        << QStringList{"defaultlt.ini:21: warning: [win] x given again; line 17 counts, this one "
                       "is ignored",
                       "defaultlt.ini:22: warning: section [win] given again; the one in line 16 "
                       "counts, this one is ignored"};
    QTest::newRow("beyond the right edge in every view")
        << m << replaced(d, "x=156", "x=230")
        << QStringList{"defaultlt.ini:16: " + outside.arg("win", "partly") +
                       "views 1, 2 and 3 with the info bar on and off: 31 px beyond the right "
                       "edge"};
    QTest::newRow("beyond the bottom with the info bar off")
        << replaced(m, "x=1\r\ny=40", "x=1\r\ny=310") << d
        << QStringList{"mapviewlt.ini:11: " + outside.arg("to", "partly") +
                       "view 1 with the info bar off: 8 px beyond the bottom edge"};
    QTest::newRow("a fraction of a pixel beyond") // x = 199.6, written alike in every locale
        << m << replaced(d, "x=156", "x=1996e-1")
        << QStringList{"defaultlt.ini:16: " + outside.arg("win", "partly") +
                       "views 1, 2 and 3 with the info bar on and off: 0.6 px beyond the right "
                       "edge"};
    QTest::newRow("beyond what the element holds")
        << m << replaced(replaced(d, "x=156", "x=1e39"), "y=124", "y=200000000")
        << QStringList{"defaultlt.ini:8: error: [tmc] y=200000000 is out of range; the editor "
                       "puts the element at its starting place",
                       "defaultlt.ini:17: error: [win] x=1e39 is out of range; the editor puts "
                       "the element at its starting place"};
    QTest::newRow("wholly outside, two edges")
        << m << replaced(d, "x=2\r\ny=164", "x=-50\r\ny=-40")
        << QStringList{"defaultlt.ini:11: " + outside.arg("gps", "wholly") +
                       "views 1, 2 and 3 with the info bar on and off: 50 px beyond the left "
                       "edge and 40 px beyond the top edge"};
    QByteArray utf16("\xFF\xFE");
    for (const char c : replaced(d, "x=156", "x=abc"))
        utf16 += QByteArray(1, c) + '\0';
    QTest::newRow("UTF-16 file")
        << m << utf16
        << QStringList{"defaultlt.ini:17: error: [win] x=abc is not a number; the editor puts "
                       "the element at its starting place"};
    QTest::newRow("width 0")
        << m << replaced(d, "cx=40\r\ncy=36\r\n[gps]", "cx=0\r\ncy=36\r\n[gps]")
        << QStringList{"defaultlt.ini:9: warning: [tmc] has a width of 0 or less (cx=0)"};
    QTest::newRow("byte-order mark, mixed endings, leading blanks")
        << m << "\xEF\xBB\xBF" + replaced(replaced(d, "x=2\r\n", "x=2\n"), "y=84", "y=  84")
        << QStringList{"defaultlt.ini:1: warning: the file starts with a UTF-8 byte-order mark; "
                       "the editor skips it, other programs may not",
                       "defaultlt.ini:2: warning: mixed line endings: this line ends with LF, line "
                       "1 with CR LF",
                       "defaultlt.ini:3: warning: [log] the value of y has leading blanks; the "
                       "editor drops them"};
}

void tst_Check::findings() {
    QFETCH(QByteArray, mapview);
    QFETCH(QByteArray, defaults);
    QFETCH(QStringList, expected);
    QCOMPARE(checked(mapview, defaults, texts::Language::English), expected);
}

void tst_Check::inGerman_data() {
    // The lines of --check for a German locale, with the texts the problem list shows:
    // every part of a composed text in German, numbers with a decimal comma.
    QTest::addColumn<QByteArray>("mapview");
    QTest::addColumn<QByteArray>("defaults");
    QTest::addColumn<QStringList>("expected");

    const QByteArray m = cleanMapview();
    const QByteArray d = cleanDefaults();
    QTest::newRow("file missing") << QByteArray() << d
                                  << QStringList{"mapviewlt.ini: Fehler: Datei fehlt"};
    QTest::newRow("out of range with the info bar on, and what the editor does")
        << replaced(m, "[to]\r\nx=1\r\ny=40", "[to]\r\nx=1\r\ny=-143165580") << d
        << QStringList{"mapviewlt.ini:13: Fehler: [to] y=-143165580 liegt außerhalb des "
                       "Wertebereichs bei eingeschalteter Infobar; der Editor setzt das Element "
                       "an seinen Anfangsplatz"};
    QTest::newRow("partly outside, two sides, a fraction, a list of views")
        << m << replaced(d, "x=2\r\ny=164", "x=-2e-1\r\ny=-3")
        << QStringList{"defaultlt.ini:11: Warnung: [gps] liegt teilweise außerhalb des "
                       "Bildschirms 240 x 320 in Ansichten 1, 2 und 3 bei ein- und "
                       "ausgeschalteter Infobar: 0,2 px über den linken Rand hinaus und 3 px "
                       "über den oberen Rand hinaus"};
    QTest::newRow("a value holding a place marker stays as written")
        << replaced(m, "[zoomwin]\r\nx=200", "[zoomwin]\r\nx=%1%2") << d
        << QStringList{"mapviewlt.ini:2: Fehler: [zoomwin] x=%1%2 ist keine Zahl; der Editor "
                       "setzt das Element an seinen Anfangsplatz"};
}

void tst_Check::inGerman() {
    QFETCH(QByteArray, mapview);
    QFETCH(QByteArray, defaults);
    QFETCH(QStringList, expected);
    QCOMPARE(checked(mapview, defaults, texts::Language::German), expected);
}

void tst_Check::summary() {
    using texts::Language;
    QCOMPARE(cli::summaryLine(0, 0), QStringLiteral("0 errors, 0 warnings"));
    QCOMPARE(cli::summaryLine(1, 1), QStringLiteral("1 error, 1 warning"));
    QCOMPARE(cli::summaryLine(2, 3), QStringLiteral("2 errors, 3 warnings"));
    QCOMPARE(cli::summaryLine(1, 1, Language::German), QStringLiteral("1 Fehler, 1 Warnung"));
    QCOMPARE(cli::summaryLine(2, 3, Language::German), QStringLiteral("2 Fehler, 3 Warnungen"));
}

QTEST_MAIN(tst_Check)
#include "tst_check.moc"

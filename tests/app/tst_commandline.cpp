// The command line: what it asks for, the folder it opens at start, and the answers
// that the program gives without a display.
#include "app/commandline.h"
#include "app/startfolder.h"
#include "editorfixture.h"
#include "elements/programstate.h"

#include <QImage>
#include <QProcess>
#include <QtTest>

using namespace fixture;

namespace {

// Runs the program with these arguments and no display at all.
struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run runTessel(const QStringList& arguments, const QString& platform = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TESSEL_BINARY), arguments);
    if (!process.waitForFinished(20000))
        process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

class tst_CommandLine : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void withoutDisplay_data();
    void withoutDisplay();
    void startFolder_data();
    void startFolder();
    void shellCommands_data();
    void shellCommands();
};

void tst_CommandLine::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("folder");

    using A = CommandLine::Action;
    QTest::newRow("nothing") << QStringList{} << int(A::Edit) << QString();
    QTest::newRow("folder") << QStringList{"skins/a b"} << int(A::Edit) << "skins/a b";
    QTest::newRow("folder named like an option") << QStringList{"--", "-x"} << int(A::Edit) << "-x";
    QTest::newRow("help wins") << QStringList{"skin", "-h"} << int(A::Help) << QString();
    QTest::newRow("two folders") << QStringList{"a", "b"} << int(A::UsageError) << QString();
    QTest::newRow("unknown option") << QStringList{"--nope"} << int(A::UsageError) << QString();
}

void tst_CommandLine::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, folder);
    const CommandLine command = parseCommandLine(QStringList{"tessel"} + arguments);
    QCOMPARE(int(command.action), action);
    QCOMPARE(command.folder, folder);
    QCOMPARE(command.error.isEmpty(), action != int(CommandLine::Action::UsageError));
}

void tst_CommandLine::withoutDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");         // the start of standard output
    QTest::addColumn<QString>("errContains"); // a part of standard error

    QTest::newRow("version") << QStringList{"--version"} << 0 << "tessel 1.1.0\n" << QString();
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: tessel [FOLDER]" << QString();
    QTest::newRow("unknown option: usage to stderr")
        << QStringList{"--frobnicate"} << 2 << QString() << "Usage: tessel [FOLDER]";
    QTest::newRow("the editor needs a display")
        << QStringList{"."} << 1 << QString() << "no display found";
}

void tst_CommandLine::withoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, errContains);
    const Run run = runTessel(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.startsWith(out), qPrintable(run.out));
    QVERIFY2(errContains.isEmpty() ? run.err.isEmpty() : run.err.contains(errContains),
             qPrintable(run.err));
}

void tst_CommandLine::startFolder_data() {
    QTest::addColumn<QString>("argument"); // relative to the working folder
    QTest::addColumn<QString>("message");  // the box's text; empty: loaded

    QTest::newRow("relative folder") << "skin" << QString();
    QTest::newRow("trailing slash, dots") << "./skin/../skin/" << QString();
    QTest::newRow("missing") << "gone"
                             << "Der Ordner \"gone\" existiert nicht.";
    QTest::newRow("a file") << "skin/mapviewlt.ini"
                            << "\"skin/mapviewlt.ini\" ist kein Ordner.";
}

void tst_CommandLine::startFolder() {
    QFETCH(QString, argument);
    QFETCH(QString, message);
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    BoxAnswerer ok(QStringLiteral("OK"));
    // The same path as main: the parser, then the folder.
    const CommandLine command = parseCommandLine({QStringLiteral("tessel"), argument});
    openStartFolder(editor.w(), command.folder);

    frmMain& w = editor.w();
    if (!message.isEmpty()) {
        QCOMPARE(ok.count, 1);
        QCOMPARE(ok.title, QStringLiteral("Ungültiger Ordner"));
        QCOMPARE(ok.text, message);
        QVERIFY(!w.loaded());
        QVERIFY(!QFile::exists(editor.workPath() + "/Tessel.ini"));
        return;
    }
    QCOMPARE(ok.count, 0);
    QVERIFY(w.loaded());
    QCOMPARE(w.skinFolder(), skin + "/");
    QCOMPARE(programState().CurrentView, std::int16_t(0));
    QCOMPARE(w.LBLiniName->text(), QStringLiteral("win"));
    QCOMPARE(readFile(editor.workPath() + "/Tessel.ini"), crlf({"[Directory]", "lastDir=" + skin}));
}

void tst_CommandLine::shellCommands_data() {
    QTest::addColumn<QStringList>("arguments"); // SKIN, BROKEN and OUT stand for paths
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("lastLine"); // of standard output
    QTest::addColumn<QString>("errContains");
    QTest::addColumn<QStringList>("written"); // in OUT's folder

    const QStringList none;
    QTest::newRow("check: warnings only")
        << QStringList{"--check", "SKIN"} << 0 << "0 errors, 2 warnings" << QString() << none;
    QTest::newRow("check: errors")
        << QStringList{"--check", "BROKEN"} << 1 << "1 error, 2 warnings" << QString() << none;
    QTest::newRow("check: no such folder")
        << QStringList{"--check", "SKIN/gone"} << 2 << QString() << "no such folder" << none;
    QTest::newRow("check: a file")
        << QStringList{"--check", "SKIN/mapviewlt.ini"} << 2 << QString() << "no folder" << none;
    QTest::newRow("check: no folder")
        << QStringList{"--check"} << 2 << QString() << "Missing value after '--check'" << none;
    QTest::newRow("render, even where the platform names a display")
        << QStringList{"--render", "SKIN", "--view", "2", "--scale", "2", "-o", "OUT/v.png"} << 0
        << QString() << QString() << QStringList{"v.png"};
    QTest::newRow("render all views")
        << QStringList{"--render", "SKIN", "--view", "all", "--infobar", "off", "-o", "OUT/v.png"}
        << 0 << QString() << QString() << QStringList{"v-1.png", "v-2.png", "v-3.png"};
    QTest::newRow("render: unknown view")
        << QStringList{"--render", "SKIN", "--view", "4", "-o", "OUT/v.png"} << 2 << QString()
        << "unknown view '4'" << none;
    QTest::newRow("render: output not writable")
        << QStringList{"--render", "SKIN", "--view", "1", "-o", "OUT/no/v.png"} << 2 << QString()
        << "cannot write" << none;
    QTest::newRow("render: no such folder")
        << QStringList{"--render", "SKIN/gone", "--view", "1", "-o", "OUT/v.png"} << 2 << QString()
        << "no such folder" << none;
}

void tst_CommandLine::shellCommands() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, lastLine);
    QFETCH(QString, errContains);
    QFETCH(QStringList, written);

    QTemporaryDir dir;
    QDir(dir.path()).mkpath("skin");
    QDir(dir.path()).mkpath("broken");
    QDir(dir.path()).mkpath("out");
    // The standard layout has two dummies partly off the screen.
    writeFile(dir.filePath("skin/mapviewlt.ini"), standardMapview());
    writeFile(dir.filePath("skin/defaultlt.ini"), standardDefaults());
    writeFile(dir.filePath("broken/mapviewlt.ini"), standardMapview());
    for (QString& argument : arguments)
        argument.replace("SKIN", dir.filePath("skin"))
            .replace("BROKEN", dir.filePath("broken"))
            .replace("OUT", dir.filePath("out"));

    const Run run = runTessel(arguments, QStringLiteral("xcb"));
    QCOMPARE(run.status, status);
    QCOMPARE(run.out.trimmed().section('\n', -1), lastLine);
    QVERIFY2(errContains.isEmpty() || run.err.contains(errContains), qPrintable(run.err));
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files), written);
    for (const QString& name : written)
        QCOMPARE(QImage(dir.filePath("out/" + name)).size(),
                 QSize(240, 320) * (arguments.contains("--scale") ? 2 : 1));
}

QTEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"

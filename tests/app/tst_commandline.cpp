// The command line: what it asks for, the folder it opens at start, and the program's
// answers from the shell, without a display.
#include "app/cli/render.h"
#include "app/commandline.h"
#include "app/startfolder.h"
#include "editorfixture.h"
#include "elements/programstate.h"

#include <QImage>
#include <QProcess>
#include <QtTest>

using namespace fixture;

class tst_CommandLine : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void startFolder_data();
    void startFolder();
    void fromTheShell_data();
    void fromTheShell();
    void renderedAsInTheEditor();
};

void tst_CommandLine::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("folder");

    using A = CommandLine::Action;
    QTest::newRow("nothing") << QStringList{} << int(A::Edit) << QString();
    QTest::newRow("folder") << QStringList{"skins/a b"} << int(A::Edit) << "skins/a b";
    QTest::newRow("folder named like an option") << QStringList{"--", "-x"} << int(A::Edit) << "-x";
    QTest::newRow("two folders") << QStringList{"a", "b"} << int(A::UsageError) << QString();
    QTest::newRow("render option without --render")
        << QStringList{"--check", "a", "--scale", "2"} << int(A::UsageError) << QString();
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

void tst_CommandLine::startFolder_data() {
    QTest::addColumn<QString>("argument"); // relative to the working folder
    QTest::addColumn<QString>("message");  // the box's text; empty: loaded

    QTest::newRow("relative folder") << "skin" << QString();
    QTest::newRow("trailing slash, dots") << "./skin/../skin/" << QString();
    QTest::newRow("missing") << "gone"
                             << "Der Ordner \"gone\" existiert nicht.";
    QTest::newRow("a file") << "skin/mapviewlt.ini"
                            << "\"skin/mapviewlt.ini\" ist kein Ordner.";
    QTest::newRow("too deep for its files")
        << "DEEP"
        << "Der Pfad dieses Ordners ist zu lang für die Dateien mapviewlt.ini und defaultlt.ini.";
}

void tst_CommandLine::startFolder() {
    QFETCH(QString, argument);
    QFETCH(QString, message);
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    if (argument == QLatin1String("DEEP")) {
        // A folder that fits the longest path, while ".../mapviewlt.ini" does not.
        const qsizetype target = 4088;
        QString deep = editor.workPath();
        while (target - deep.size() > 201)
            deep += "/" + QString(100, QLatin1Char('d'));
        deep += "/" + QString(target - deep.size() - 1, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(deep));
        argument = deep.mid(editor.workPath().size() + 1);
    }
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

void tst_CommandLine::fromTheShell_data() {
    QTest::addColumn<QStringList>("arguments"); // SKIN, BROKEN and OUT stand for paths
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("outEnd"); // how standard output ends
    QTest::addColumn<QString>("errContains");
    QTest::addColumn<QStringList>("written"); // in OUT

    const QString usage = QStringLiteral("Usage: tessel [FOLDER]");
    const QStringList none;
    QTest::newRow("version") << QStringList{"--version"} << 0 << "tessel 1.1.0\n"
                             << QString() << none;
    QTest::newRow("help") << QStringList{"-h"} << 0 << "The skin folder to open in the editor.\n"
                          << QString() << none;
    QTest::newRow("unknown option: usage to stderr")
        << QStringList{"--frobnicate"} << 2 << QString() << usage << none;
    QTest::newRow("check: warnings only")
        << QStringList{"--check", "SKIN"} << 0 << "0 errors, 5 warnings\n"
        << QString() << none;
    QTest::newRow("check: errors")
        << QStringList{"--check", "BROKEN"} << 1 << "1 error, 5 warnings\n"
        << QString() << none;
    QTest::newRow("check: no such folder")
        << QStringList{"--check", "SKIN/gone"} << 2 << QString() << "no such folder" << none;
    QTest::newRow("check: a file")
        << QStringList{"--check", "SKIN/mapviewlt.ini"} << 2 << QString() << "no folder" << none;
    QTest::newRow("check: no folder") << QStringList{"--check"} << 2 << QString() << usage << none;
    QTest::newRow("render, although the platform names a display")
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

void tst_CommandLine::fromTheShell() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, outEnd);
    QFETCH(QString, errContains);
    QFETCH(QStringList, written);

    QTemporaryDir dir;
    for (const char* folder : {"skin", "broken", "out"})
        QDir(dir.path()).mkpath(QString::fromLatin1(folder));
    // The standard layout has two dummies partly off the screen and three values a save
    // rewrites; "broken" lacks a file.
    writeFile(dir.filePath("skin/mapviewlt.ini"), standardMapview());
    writeFile(dir.filePath("skin/defaultlt.ini"), standardDefaults());
    writeFile(dir.filePath("broken/mapviewlt.ini"), standardMapview());
    for (QString& argument : arguments)
        argument.replace("SKIN", dir.filePath("skin"))
            .replace("BROKEN", dir.filePath("broken"))
            .replace("OUT", dir.filePath("out"));

    // No display, a platform that would need one, and a font resolution that would
    // scale the pictures.
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_FONT_DPI", "192");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TESSEL_BINARY), arguments);
    QVERIFY(process.waitForFinished(20000));
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    QVERIFY2(outEnd.isEmpty() ? out.isEmpty() : out.endsWith(outEnd), qPrintable(out));
    QVERIFY2(errContains.isEmpty() || err.contains(errContains), qPrintable(err));
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files), written);
    for (const QString& name : written)
        QCOMPARE(QImage(dir.filePath("out/" + name)).size(),
                 QSize(240, 320) * (arguments.contains("--scale") ? 2 : 1));
}

void tst_CommandLine::renderedAsInTheEditor() {
    // The program alone sets itself up for the render (no display, none of the machine's
    // fonts); the pixels are those the editor's own process draws.
    QTemporaryDir dir;
    writeFile(dir.filePath("mapviewlt.ini"), standardMapview());
    writeFile(dir.filePath("defaultlt.ini"), standardDefaults());
    const QString file = dir.filePath("v.png");
    QProcess process;
    process.start(QStringLiteral(TESSEL_BINARY), {"--render", dir.path(), "--view", "3",
                                                  "--infobar", "off", "--scale", "2", "-o", file});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(
        QImage(file).convertToFormat(QImage::Format_RGB32),
        cli::renderViews(dir.path(), {3}, false, 2).at(0).convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"

// The command line: what it asks for, the folder it opens at start, and the answers
// that the program gives without a display.
#include "app/commandline.h"
#include "app/startfolder.h"
#include "editorfixture.h"
#include "elements/programstate.h"

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

Run runTessel(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
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

QTEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"

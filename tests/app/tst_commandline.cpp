// The command line: what it asks for, the folder it opens at start, and the program's
// answers from the shell, without a display.
#include "cli/commandline.h"
#include "cli/qtmessages.h"
#include "cli/render.h"
#include "cli/startfolder.h"
#include "editorfixture.h"
#include "elements/programstate.h"
#include "skincheck/rawpath.h"
#include "translations/texts.h"

#include <QImage>
#include <QProcess>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace fixture;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

// Runs the program through the shell, where "\0NNN" in an argument stands for the byte NNN
// (octal), so that names that are no UTF-8 reach it. No display, a platform that would
// need one, a font resolution that would scale the pictures, and English. `sizeLimit`: the
// largest file it may write, in blocks (0: any). `changes`: "NAME=VALUE" sets a variable,
// "-NAME" removes it.
Run runTessel(const QStringList& arguments, int sizeLimit = 0, const QStringList& changes = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_FONT_DPI", "192");
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        env.remove(name);
    env.insert("LANG", "C.UTF-8");
    for (const QString& change : changes)
        if (change.startsWith('-'))
            env.remove(change.mid(1));
        else
            env.insert(change.section('=', 0, 0), change.section('=', 1));
    process.setProcessEnvironment(env);
    const QString script = QStringLiteral(
        "trap '' XFSZ; [ \"$1\" = 0 ] || ulimit -f \"$1\"; bin=$2; shift 2; "
        "for a do set -- \"$@\" \"$(printf '%b' \"$a\")\"; shift; done; exec \"$bin\" \"$@\"");
    process.start(QStringLiteral("/bin/sh"),
                  QStringList{"-c", script, "sh", QString::number(sizeLimit), TESSEL_BINARY} +
                      arguments);
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A folder with "skin", "broken" (no defaultlt.ini), "out", and "skin\xFF", a copy of
// "skin" under a name that is no UTF-8.
// The standard layout has two dummies partly off the screen and three values a save
// rewrites; "broken" lacks a file.
void makeFolders(const QTemporaryDir& dir) {
    for (const char* folder : {"skin", "broken", "out"})
        QDir(dir.path()).mkpath(QString::fromLatin1(folder));
    writeFile(dir.filePath("skin/mapviewlt.ini"), standardMapview());
    writeFile(dir.filePath("skin/defaultlt.ini"), standardDefaults());
    writeFile(dir.filePath("broken/mapviewlt.ini"), standardMapview());
    const QByteArray odd = QFile::encodeName(dir.path()) + "/skin\xFF";
    QCOMPARE(::mkdir(odd, 0755), 0);
    for (const char* name : {"/mapviewlt.ini", "/defaultlt.ini"})
        QCOMPARE(::symlink(QFile::encodeName(dir.filePath("skin")) + name, odd + name), 0);
}

// SKIN, BROKEN and OUT stand for the folders of makeFolders, SAMPLE for the sample skin.
QStringList withPaths(QStringList arguments, const QTemporaryDir& dir) {
    for (QString& argument : arguments)
        argument.replace("SKIN", dir.filePath("skin"))
            .replace("BROKEN", dir.filePath("broken"))
            .replace("OUT", dir.filePath("out"))
            .replace("SAMPLE", qEnvironmentVariable("TESSEL_SOURCE_DIR") + "/skins/sample");
    return arguments;
}

QByteArray rawRead(const QByteArray& path) {
    QFile file;
    const std::unique_ptr<FILE, int (*)(FILE*)> raw(std::fopen(path, "rb"), std::fclose);
    return raw && file.open(raw.get(), QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The names in a folder, byte for byte.
QByteArrayList namesIn(const QByteArray& folder) {
    QByteArrayList names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder), ::closedir);
    while (const dirent* entry = dir ? ::readdir(dir.get()) : nullptr)
        if (entry->d_name[0] != '.')
            names << QByteArray(entry->d_name);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

class tst_CommandLine : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void language_data();
    void language();
    void qtMessages();
    void startFolder_data();
    void startFolder();
    void fromTheShell_data();
    void fromTheShell();
    void renderTargets_data();
    void renderTargets();
    void renderedAsInTheEditor();
    void quiet_data();
    void quiet();
    void inTheUsersLanguage_data();
    void inTheUsersLanguage();
    void renderSaysWhatItDrewFrom_data();
    void renderSaysWhatItDrewFrom();
};

void tst_CommandLine::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QByteArray>("folder");

    using A = CommandLine::Action;
    QTest::newRow("nothing") << QStringList{} << int(A::Edit) << QByteArray();
    QTest::newRow("folder") << QStringList{"skins/a b"} << int(A::Edit) << QByteArray("skins/a b");
    QTest::newRow("folder named like an option")
        << QStringList{"--", "-x"} << int(A::Edit) << QByteArray("-x");
    // A stray byte, overlong, surrogate, beyond U+10FFFF, cut short, overlong leads, lone
    // continuation bytes; then valid UTF-8.
    const char* const odd =
        "\xFF\xE0\x80\x80\xED\xA0\x80\xF4\x90\x80\x80\xC3/\xC0\x80\xC1\xBF\x80\xBF/"
        "\xC3\xA4\xF0\x9F\x97\xBA";
    QTest::newRow("folder named with bytes that are no UTF-8")
        << QStringList{"--check", rawpath::argumentText(odd)} << int(A::Check) << QByteArray(odd);
    QTest::newRow("two folders") << QStringList{"a", "b"} << int(A::UsageError) << QByteArray();
    QTest::newRow("render option without --render")
        << QStringList{"--check", "a", "--scale", "2"} << int(A::UsageError) << QByteArray();
    QTest::newRow("check with two folders")
        << QStringList{"--check", "a", "b"} << int(A::UsageError) << QByteArray();
    QTest::newRow("check of an empty name")
        << QStringList{"--check", ""} << int(A::UsageError) << QByteArray();
    const QStringList render{"--render", "a", "--view", "1", "-o", "v.png", "--scale"};
    QTest::newRow("largest scale")
        << render + QStringList{"8"} << int(A::Render) << QByteArray("a");
    QTest::newRow("scale too large")
        << render + QStringList{"9"} << int(A::UsageError) << QByteArray();
    QTest::newRow("strict render")
        << render + QStringList{"1", "--strict"} << int(A::Render) << QByteArray("a");
    QTest::newRow("strict without --render")
        << QStringList{"--check", "a", "--strict"} << int(A::UsageError) << QByteArray();
}

void tst_CommandLine::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QByteArray, folder);
    const CommandLine command = parseCommandLine(QStringList{"tessel"} + arguments);
    QCOMPARE(int(command.action), action);
    QCOMPARE(command.folder, folder);
    QCOMPARE(command.error.isEmpty(), action != int(CommandLine::Action::UsageError));
    QCOMPARE(command.strict,
             arguments.contains("--strict") && action == int(CommandLine::Action::Render));
}

void tst_CommandLine::language_data() {
    QTest::addColumn<QByteArrayList>("variables"); // LC_ALL, LC_MESSAGES, LANG, LANGUAGE
    QTest::addColumn<bool>("german");

    QTest::newRow("nothing set") << QByteArrayList{"", "", "", ""} << false;
    QTest::newRow("LANG German") << QByteArrayList{"", "", "de_DE.UTF-8", ""} << true;
    QTest::newRow("LANG Austrian, no territory") << QByteArrayList{"", "", "de", ""} << true;
    QTest::newRow("LANG Swedish") << QByteArrayList{"", "", "sv_SE.UTF-8", ""} << false;
    QTest::newRow("LC_MESSAGES before LANG")
        << QByteArrayList{"", "de_CH.UTF-8", "en_GB.UTF-8", ""} << true;
    QTest::newRow("LC_ALL before both")
        << QByteArrayList{"en_US.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8", ""} << false;
    QTest::newRow("LC_ALL=C: no LANGUAGE")
        << QByteArrayList{"C.UTF-8", "", "de_DE.UTF-8", "de"} << false;
    QTest::newRow("LANGUAGE before the locale")
        << QByteArrayList{"", "", "en_GB.UTF-8", "de_AT:en"} << true;
    QTest::newRow("LANGUAGE: the first one Tessel speaks")
        << QByteArrayList{"", "", "de_DE.UTF-8", "fr:en:de"} << false;
    QTest::newRow("LANGUAGE of none Tessel speaks: the locale")
        << QByteArrayList{"", "", "de_DE@euro", "fr:it"} << true;
}

void tst_CommandLine::language() {
    QFETCH(QByteArrayList, variables);
    QFETCH(bool, german);
    QCOMPARE(texts::languageOf(variables[0], variables[1], variables[2], variables[3]) ==
                 texts::Language::German,
             german);
}

void tst_CommandLine::qtMessages() {
    // What ends the program or makes it fail is said; Qt's notes are kept back.
    QCOMPARE(qtmessages::shown(QtFatalMsg, "could not connect to display"),
             QStringLiteral("tessel: could not connect to display\n"));
    QCOMPARE(qtmessages::shown(QtCriticalMsg, "no platform plugin"),
             QStringLiteral("tessel: no platform plugin\n"));
    for (const QtMsgType type : {QtWarningMsg, QtInfoMsg, QtDebugMsg})
        QCOMPARE(qtmessages::shown(type, "QStandardPaths: XDG_RUNTIME_DIR not set"), std::nullopt);
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
    QTest::newRow("a name that is no text")
        << QString("sk") + QChar(0xDCFF)
        << "Der Ordner \"sk\\xff\" kann nicht geöffnet werden: sein Name "
           "ist kein gültiger Text.";
    // DEEPn: a new folder where ".../mapviewlt.ini" is n bytes long; 4095 is the longest
    // path the system takes.
    QTest::newRow("just deep enough") << "DEEP4095" << QString();
    QTest::newRow("a byte too deep for its files")
        << "DEEP4096"
        << "Der Pfad dieses Ordners ist zu lang für die Dateien mapviewlt.ini und defaultlt.ini.";
}

void tst_CommandLine::startFolder() {
    QFETCH(QString, argument);
    QFETCH(QString, message);
    Editor editor;
    QString skin = editor.standardSkin();
    if (argument.startsWith(QLatin1String("DEEP"))) {
        const qsizetype target = argument.mid(4).toInt() - qsizetype(sizeof "/mapviewlt.ini" - 1);
        QString deep = editor.workPath();
        while (target - deep.size() > 201)
            deep += "/" + QString(100, QLatin1Char('d'));
        deep += "/" + QString(target - deep.size() - 1, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(deep));
        argument = deep.mid(editor.workPath().size() + 1);
        skin = deep;
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
    QTest::newRow("check: a folder name that is no UTF-8")
        << QStringList{"--check", "SKIN\\0377"} << 0 << "0 errors, 5 warnings\n"
        << QString() << none;
    QTest::newRow("check: such a name, missing, as it was given")
        << QStringList{"--check", "SKIN\\0376\\0300\\0200\\0301\\0277\\0200\\0377\\t"} << 2
        << QString() << "skin\\xfe\\xc0\\x80\\xc1\\xbf\\x80\\xff\\x09: no such folder" << none;
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
    makeFolders(dir);
    const Run run = runTessel(withPaths(arguments, dir));
    const QString& out = run.out;
    const QString& err = run.err;

    QCOMPARE(run.status, status);
    QVERIFY2(outEnd.isEmpty() ? out.isEmpty() : out.endsWith(outEnd), qPrintable(out));
    QVERIFY2(errContains.isEmpty() || err.contains(errContains), qPrintable(err));
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files), written);
    for (const QString& name : written)
        QCOMPARE(QImage(dir.filePath("out/" + name)).size(),
                 QSize(240, 320) * (arguments.contains("--scale") ? 2 : 1));
}

void tst_CommandLine::renderTargets_data() {
    QTest::addColumn<QString>("existing"); // in OUT: "NAME=TEXT" a file, "NAME|" a pipe,
                                           // "NAME->TARGET" a link
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("sizeLimit");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errContains");
    QTest::addColumn<QByteArrayList>("names"); // in OUT afterwards
    QTest::addColumn<QByteArray>("format");    // of the pictures written

    QTest::newRow("BMP, ending in capitals, all views")
        << QString() << QStringList{"--render", "SKIN", "--view", "all", "-o", "OUT/V.BMP"} << 0
        << 0 << QString() << QByteArrayList{"V-1.BMP", "V-2.BMP", "V-3.BMP"} << QByteArray("BMP");
    QTest::newRow("names that are no UTF-8")
        << QString()
        << QStringList{"--render", "SKIN\\0377", "--view",
                       "1",        "-o",         "OUT/o\\0377\\0300\\0200\\0301\\0277\\0200.png"}
        << 0 << 0 << QString() << QByteArrayList{"o\xFF\xC0\x80\xC1\xBF\x80.png"}
        << QByteArray("PNG");
    QTest::newRow("another format")
        << QString() << QStringList{"--render", "SKIN", "--view", "1", "-o", "OUT/v.jpg"} << 0 << 2
        << "unknown picture format" << QByteArrayList{} << QByteArray();
    QTest::newRow("a layout file, through a link")
        << "l.png->../skin/mapviewlt.ini"
        << QStringList{"--render", "SKIN", "--view", "1", "-o", "OUT/l.png"} << 0 << 2
        << "layout file" << QByteArrayList{"l.png"} << QByteArray();
    QTest::newRow("a pipe") << "v.png|"
                            << QStringList{"--render", "SKIN", "--view", "1", "-o", "OUT/v.png"}
                            << 0 << 2 << "no regular file" << QByteArrayList{"v.png"}
                            << QByteArray();
    QTest::newRow("disk full: the old file stays")
        << "v.png=old" << QStringList{"--render", "SKIN", "--view", "1", "-o", "OUT/v.png"} << 1
        << 2 << "cannot write" << QByteArrayList{"v.png"} << QByteArray();
}

void tst_CommandLine::renderTargets() {
    QFETCH(QString, existing);
    QFETCH(QStringList, arguments);
    QFETCH(int, sizeLimit);
    QFETCH(int, status);
    QFETCH(QString, errContains);
    QFETCH(QByteArrayList, names);
    QFETCH(QByteArray, format);

    QTemporaryDir dir;
    makeFolders(dir);
    const QString made =
        dir.filePath("out/" + existing.section(QRegularExpression("=|\\||->"), 0, 0));
    if (existing.contains("->"))
        QVERIFY(QFile::link(existing.section("->", 1), made));
    else if (existing.endsWith('|'))
        QCOMPARE(::mkfifo(QFile::encodeName(made), 0644), 0);
    else if (!existing.isEmpty())
        writeFile(made, existing.section('=', 1).toUtf8());

    const Run run = runTessel(withPaths(arguments, dir), sizeLimit);
    QCOMPARE(run.status, status);
    QVERIFY2(errContains.isEmpty() || run.err.contains(errContains), qPrintable(run.err));
    const QByteArray out = QFile::encodeName(dir.filePath("out")) + '/';
    QCOMPARE(namesIn(out), names);
    for (const QByteArray& name : names)
        if (!format.isEmpty())
            QCOMPARE(QImage::fromData(rawRead(out + name), format).size(), QSize(240, 320));
    if (existing.contains('='))
        QCOMPARE(readFile(made), existing.section('=', 1).toUtf8());
    QCOMPARE(readFile(dir.filePath("skin/mapviewlt.ini")), standardMapview());
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

void tst_CommandLine::quiet_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment"); // RUNTIME: a private runtime folder
    QTest::addColumn<QString>("out");

    const QStringList render{"--render", "SAMPLE", "--view", "all", "-o", "OUT/v.png"};
    const QStringList check{"--check", "SAMPLE"};
    const QString clean = QStringLiteral("0 errors, 0 warnings\n");
    QTest::newRow("check, runtime folder")
        << check << QStringList{"XDG_RUNTIME_DIR=RUNTIME"} << clean;
    QTest::newRow("check, no runtime folder, no home")
        << check << QStringList{"-XDG_RUNTIME_DIR", "-HOME"} << clean;
    QTest::newRow("check in German")
        << check << QStringList{"LANG=de_DE.UTF-8"} << QStringLiteral("0 Fehler, 0 Warnungen\n");
    QTest::newRow("render, runtime folder")
        << render << QStringList{"XDG_RUNTIME_DIR=RUNTIME"} << QString();
    QTest::newRow("render, no runtime folder")
        << render << QStringList{"-XDG_RUNTIME_DIR"} << QString();
    QTest::newRow("render, no home, in German")
        << render << QStringList{"-HOME", "-XDG_RUNTIME_DIR", "LANG=de_DE.UTF-8"} << QString();
    QTest::newRow("render, a style Qt does not know")
        << render << QStringList{"XDG_RUNTIME_DIR=RUNTIME", "QT_STYLE_OVERRIDE=bogus"} << QString();
}

void tst_CommandLine::quiet() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(QString, out);
    QTemporaryDir dir;
    makeFolders(dir);
    QVERIFY(
        QDir(dir.path()).mkdir("runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    environment.replaceInStrings("RUNTIME", dir.filePath("runtime"));

    const Run run = runTessel(withPaths(arguments, dir), 0, environment);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, out);
    if (arguments.contains("--render"))
        QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files).size(), 3);
}

void tst_CommandLine::inTheUsersLanguage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("out"); // lines standard output holds
    QTest::addColumn<QStringList>("err"); // and standard error

    const QStringList check{"--check", "BROKEN"};
    QTest::newRow("check, English")
        << check << QStringList{"LANG=en_GB.UTF-8"} << 1
        << QStringList{"BROKEN/defaultlt.ini: error: file is missing", "1 error, 5 warnings"}
        << QStringList{};
    QTest::newRow("check, German")
        << check << QStringList{"LANG=de_DE.UTF-8"} << 1
        << QStringList{"BROKEN/defaultlt.ini: Fehler: Datei fehlt", "1 Fehler, 5 Warnungen"}
        << QStringList{};
    QTest::newRow("check, German messages in an English locale")
        << check << QStringList{"LANG=en_US.UTF-8", "LC_MESSAGES=de_DE.UTF-8"} << 1
        << QStringList{"1 Fehler, 5 Warnungen"} << QStringList{};
    QTest::newRow("check, C overrides German")
        << check << QStringList{"LANG=de_DE.UTF-8", "LANGUAGE=de", "LC_ALL=C"} << 1
        << QStringList{"1 error, 5 warnings"} << QStringList{};
    QTest::newRow("check of no folder, German")
        << QStringList{"--check", "SKIN/gone"} << QStringList{"LANG=de_DE.UTF-8"} << 2
        << QStringList{} << QStringList{"tessel: SKIN/gone: Ordner nicht gefunden"};
    QTest::newRow("unknown option, German: Qt's text and ours")
        << QStringList{"--frobnicate"} << QStringList{"LANG=de_DE.UTF-8"} << 2 << QStringList{}
        << QStringList{"tessel: Unbekannte Option 'frobnicate'.", "Aufruf: tessel [ORDNER]"};
    QTest::newRow("render option alone, German")
        << QStringList{"--check", "SKIN", "--strict"} << QStringList{"LANG=de_DE.UTF-8"} << 2
        << QStringList{} << QStringList{"tessel: --strict gehört zu --render"};
    QTest::newRow("render to another format, German")
        << QStringList{"--render", "SKIN", "--view", "1", "-o", "OUT/v.gif"}
        << QStringList{"LANG=de_DE.UTF-8"} << 2 << QStringList{}
        << QStringList{"tessel: OUT/v.gif: unbekanntes Bildformat; der Name muss auf .png oder "
                       ".bmp enden"};
    QTest::newRow("help, German") << QStringList{"--help"} << QStringList{"LANG=de_DE.UTF-8"} << 0
                                  << QStringList{"  ORDNER              Der Skin-Ordner, den der "
                                                 "Editor öffnen soll."}
                                  << QStringList{};
    QTest::newRow("the editor without a display, German")
        << QStringList{} << QStringList{"LANG=de_DE.UTF-8", "-QT_QPA_PLATFORM"} << 1
        << QStringList{}
        << QStringList{"tessel: keine Anzeige gefunden. Starten Sie es unter X, zum Beispiel: "
                       "xvfb-run -s '-screen 0 1024x768x24' tessel"};
}

void tst_CommandLine::inTheUsersLanguage() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(int, status);
    QFETCH(QStringList, out);
    QFETCH(QStringList, err);
    QTemporaryDir dir;
    makeFolders(dir);
    const Run run = runTessel(withPaths(arguments, dir), 0, environment);
    QCOMPARE(run.status, status);
    const auto holds = [&dir](const QString& text, const QStringList& lines) {
        const QStringList found = text.split('\n');
        for (const QString& line : withPaths(lines, dir))
            if (!found.contains(line))
                return false;
        return lines.isEmpty() == text.isEmpty();
    };
    QVERIFY2(holds(run.out, out), qPrintable(run.out));
    QVERIFY2(holds(run.err, err), qPrintable(run.err));
}

void tst_CommandLine::renderSaysWhatItDrewFrom_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("written");

    QTest::newRow("warnings") << "SKIN" << false << "C.UTF-8" << 0 << true;
    QTest::newRow("warnings, strict") << "SKIN" << true << "C.UTF-8" << 0 << true;
    QTest::newRow("an error") << "BROKEN" << false << "C.UTF-8" << 0 << true;
    QTest::newRow("an error, strict") << "BROKEN" << true << "C.UTF-8" << 1 << false;
    QTest::newRow("an error, strict, German") << "BROKEN" << true << "de_DE.UTF-8" << 1 << false;
}

void tst_CommandLine::renderSaysWhatItDrewFrom() {
    // The findings on standard error are word for word what --check prints.
    QFETCH(QString, folder);
    QFETCH(bool, strict);
    QFETCH(QString, language);
    QFETCH(int, status);
    QFETCH(bool, written);
    QTemporaryDir dir;
    makeFolders(dir);
    const QStringList locale{"LANG=" + language};
    QStringList render{"--render", folder, "--view", "all", "-o", "OUT/v.bmp"};
    if (strict)
        render << "--strict";
    const Run check = runTessel(withPaths({"--check", folder}, dir), 0, locale);
    QVERIFY(check.out.count('\n') > 1);

    const Run run = runTessel(withPaths(render, dir), 0, locale);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.err, check.out);
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files).size(), written ? 3 : 0);
}

QTEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"

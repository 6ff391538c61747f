#include "cli/commandline.h"

#include "skincheck/rawpath.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

constexpr int kMaxScale = 8;

// The parser with every option the program knows, in the order of --help.
struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            CommandLine::tr("Show this help and exit.")};
    QCommandLineOption version{QStringLiteral("version"),
                               CommandLine::tr("Show the version and exit.")};
    QCommandLineOption check{
        QStringLiteral("check"),
        CommandLine::tr("Check the layout files of the skin in FOLDER and list each mistake as "
                        "FILE:LINE: error|warning: TEXT. Exit status 1 when there are errors."),
        CommandLine::tr("FOLDER")};
    QCommandLineOption render{
        QStringLiteral("render"),
        CommandLine::tr("Draw a view of the skin in FOLDER as the canvas shows it, into a PNG "
                        "or BMP file; needs --view and -o. What --check finds in the skin goes "
                        "to standard error."),
        CommandLine::tr("FOLDER")};
    QCommandLineOption view{QStringLiteral("view"),
                            CommandLine::tr("With --render: the view, 1, 2 or 3; all writes "
                                            "FILE-1.png, FILE-2.png and FILE-3.png (or .bmp)."),
                            QStringLiteral("N|all")};
    QCommandLineOption infobar{
        QStringLiteral("infobar"),
        CommandLine::tr("With --render: the info bar switched on or off (default on)."),
        QStringLiteral("on|off")};
    QCommandLineOption scale{
        QStringLiteral("scale"),
        CommandLine::tr(
            "With --render: K x K picture pixels per screen pixel, 1 to 8 (default 1)."),
        QStringLiteral("K")};
    QCommandLineOption strict{
        QStringLiteral("strict"),
        CommandLine::tr("With --render: when the skin has an error, write nothing and end with "
                        "exit status 1.")};
    QCommandLineOption output{QStringLiteral("o"),
                              CommandLine::tr("With --render: the picture file to write; its "
                                              "ending .png or .bmp sets the format."),
                              CommandLine::tr("FILE")};

    QCommandLineParser parser;

    Options() {
        parser.setApplicationDescription(
            CommandLine::tr("Tessel edits the screen layout of a navigation device's map view,\n"
                            "the files mapviewlt.ini and defaultlt.ini of a skin folder."));
        parser.addOptions({help, version, check, render, view, infobar, scale, strict, output});
        parser.addPositionalArgument(
            CommandLine::tr("FOLDER"), CommandLine::tr("The skin folder to open in the editor."),
            QLatin1Char('[') + CommandLine::tr("FOLDER") + QLatin1Char(']'));
    }
};

CommandLine usageError(const QString& message) {
    CommandLine result;
    result.action = CommandLine::Action::UsageError;
    result.error = message;
    return result;
}

// The options of --render, read into `result`; an error text when one is wrong.
QString readRenderOptions(const Options& o, CommandLine& result) {
    const QCommandLineParser& p = o.parser;
    if (!p.isSet(o.view))
        return CommandLine::tr("--render needs --view 1, 2, 3 or all");
    const QString view = p.value(o.view);
    if (view == QLatin1String("all"))
        result.view = 0;
    else if (view == QLatin1String("1") || view == QLatin1String("2") || view == QLatin1String("3"))
        result.view = view.toInt();
    else
        return CommandLine::tr("unknown view '%1': use 1, 2, 3 or all").arg(view);

    if (p.isSet(o.infobar)) {
        const QString state = p.value(o.infobar);
        if (state != QLatin1String("on") && state != QLatin1String("off"))
            return CommandLine::tr("--infobar takes on or off, not '%1'").arg(state);
        result.infobar = state == QLatin1String("on");
    }
    if (p.isSet(o.scale)) {
        bool ok = false;
        result.scale = p.value(o.scale).toInt(&ok);
        if (!ok || result.scale < 1 || result.scale > kMaxScale)
            return CommandLine::tr("--scale takes a whole number from 1 to %1, not '%2'")
                .arg(kMaxScale)
                .arg(p.value(o.scale));
    }
    result.strict = p.isSet(o.strict);
    result.output = rawpath::argumentBytes(p.value(o.output));
    if (result.output.isEmpty())
        return CommandLine::tr("--render needs -o FILE");
    return {};
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    Options o;
    QCommandLineParser& p = o.parser;
    if (!p.parse(arguments))
        return usageError(p.errorText());
    CommandLine result;
    if (p.isSet(o.help)) {
        result.action = CommandLine::Action::Help;
        return result;
    }
    if (p.isSet(o.version)) {
        result.action = CommandLine::Action::Version;
        return result;
    }
    const QStringList folders = p.positionalArguments();
    const bool check = p.isSet(o.check);
    const bool render = p.isSet(o.render);
    if (check && render)
        return usageError(CommandLine::tr("--check and --render go separately"));
    if (!render)
        for (const QCommandLineOption* option :
             {&o.view, &o.infobar, &o.scale, &o.strict, &o.output})
            if (p.isSet(*option)) {
                const QString name = option->names().constFirst();
                return usageError(CommandLine::tr("%1 belongs to --render")
                                      .arg((name.size() > 1 ? "--" : "-") + name));
            }
    if (folders.size() > ((check || render) ? 0 : 1))
        return usageError(CommandLine::tr("one folder at most, not %1")
                              .arg(folders.size() + ((check || render) ? 1 : 0)));

    if (check) {
        result.action = CommandLine::Action::Check;
        result.folder = rawpath::argumentBytes(p.value(o.check));
    } else if (render) {
        result.action = CommandLine::Action::Render;
        result.folder = rawpath::argumentBytes(p.value(o.render));
        const QString error = readRenderOptions(o, result);
        if (!error.isEmpty())
            return usageError(error);
    } else if (!folders.isEmpty()) {
        result.folder = rawpath::argumentBytes(folders.constFirst());
    }
    if ((check || render) && result.folder.isEmpty())
        return usageError(CommandLine::tr("the folder is empty"));
    return result;
}

QString usageText() {
    Options o;
    // Without an application object the parser does not know the program's name.
    QString text = o.parser.helpText();
    text.replace(0, text.indexOf(QLatin1Char('\n')),
                 CommandLine::tr("Usage: tessel [FOLDER]\n"
                                 "       tessel --check FOLDER\n"
                                 "       tessel --render FOLDER --view N|all [--infobar on|off] "
                                 "[--scale K] [--strict] -o FILE\n"));
    return text;
}

QString versionText() {
    return QStringLiteral("tessel " TESSEL_VERSION);
}

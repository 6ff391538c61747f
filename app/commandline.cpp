#include "app/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

// The parser with every option the program knows, in the order of --help.
struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{QStringLiteral("version"),
                               QStringLiteral("Show the version and exit.")};

    QCommandLineParser parser;

    Options() {
        parser.setApplicationDescription(
            QStringLiteral("Tessel edits the screen layout of a navigation device's map view: "
                           "the files mapviewlt.ini and defaultlt.ini of a skin folder."));
        parser.addOptions({help, version});
        parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                     QStringLiteral("The skin folder to open in the editor."),
                                     QStringLiteral("[FOLDER]"));
    }
};

CommandLine usageError(const QString& message) {
    CommandLine result;
    result.action = CommandLine::Action::UsageError;
    result.error = message;
    return result;
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
    if (folders.size() > 1)
        return usageError(QStringLiteral("one folder at most, not %1").arg(folders.size()));
    if (!folders.isEmpty())
        result.folder = folders.constFirst();
    return result;
}

QString usageText() {
    Options o;
    // Without an application object the parser does not know the program's name.
    QString text = o.parser.helpText();
    text.replace(0, text.indexOf(QLatin1Char('\n')), QStringLiteral("Usage: tessel [FOLDER]"));
    return text;
}

QString versionText() {
    return QStringLiteral("tessel " TESSEL_VERSION);
}

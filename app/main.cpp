#include "app/frmMain.h"
#include "app/translations.h"
#include "assembly/workbench.h"
#include "cli/commandline.h"
#include "cli/qtmessages.h"
#include "cli/render.h"
#include "cli/startfolder.h"
#include "skincheck/check.h"
#include "skincheck/rawpath.h"

#include <QApplication>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt would stop with an error of its own; say what to do instead.
bool displayAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << rawpath::argumentText(argv[i]);
    return arguments;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The commands that answer in the shell without drawing: help, version, usage errors,
// the check, and the note that the editor needs a display.
int answer(int argc, char* argv[], const QStringList& arguments, bool editorWithoutDisplay) {
    QCoreApplication app(argc, argv);
    translations::useUsersLanguage(app);
    if (editorWithoutDisplay) {
        print(stderr, QStringLiteral("tessel: ") +
                          CommandLine::tr("no display found. Start it under X, for example: "
                                          "xvfb-run -s '-screen 0 1024x768x24' tessel") +
                          QLatin1Char('\n'));
        return 1;
    }
    // Read again now that tr() speaks the user's language.
    const CommandLine command = parseCommandLine(arguments);
    switch (command.action) {
    case CommandLine::Action::Help:
        print(stdout, usageText());
        return 0;
    case CommandLine::Action::Version:
        print(stdout, versionText() + QLatin1Char('\n'));
        return 0;
    case CommandLine::Action::UsageError:
        print(stderr,
              QStringLiteral("tessel: ") + command.error + QStringLiteral("\n\n") + usageText());
        return 2;
    case CommandLine::Action::Check: {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return cli::runCheck(command.folder, out, err);
    }
    case CommandLine::Action::Render:
    case CommandLine::Action::Edit:
        break;
    }
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    qtmessages::install();
    // The command line comes first: what it answers needs no window system.
    const QStringList arguments = argumentsOf(argc, argv);
    const CommandLine command = parseCommandLine(arguments);
    if (command.action == CommandLine::Action::Render) {
        QTextStream err(stderr);
        return cli::runRender(argc, argv, command, err);
    }
    if (command.action != CommandLine::Action::Edit || !displayAvailable())
        return answer(argc, argv, arguments, command.action == CommandLine::Action::Edit);

    QApplication app(argc, argv);
    translations::useGerman(app);
    const Workbench editor;
    frmMain& window = editor.window();
    window.show();
    // Ask for the keyboard ourselves: without a window manager nobody else gives it.
    window.activateWindow();
    if (!command.folder.isEmpty())
        openStartFolder(window, command.folder);
    return app.exec();
}

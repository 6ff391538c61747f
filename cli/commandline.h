// The program's command line: what to do, and with which folder. It is read before
// any connection to the window system, so that --help, --version and the shell
// commands work without a display.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

struct CommandLine {
    // The context of the command line's messages in the German texts.
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum class Action {
        Edit,    // the editor, with FOLDER loaded when one is given
        Help,    // usage to standard output
        Version, // "tessel <version>" to standard output
        Check,   // --check FOLDER
        Render,  // --render FOLDER --view N|all [--infobar on|off] [--scale K] [--strict] -o FILE
        UsageError, // error and usage to standard error
    };

    Action action = Action::Edit;
    QByteArray folder;   // Edit: may be empty; Check, Render: the skin (as given, byte for byte)
    int view = 0;        // Render: 1 to 3, or 0 for all three views
    bool infobar = true; // Render: the state of "Infobar eingeschaltet"
    int scale = 1;       // Render: 1 to 8
    bool strict = false; // Render: nothing is written when the check finds an error
    QByteArray output;   // Render: the picture file (as given, byte for byte)
    QString error;       // UsageError: what is wrong, one line
};

// Reads the arguments, the program's name first (as main receives them, each turned into
// text by rawpath::argumentText so that paths keep their bytes). The error and the
// usage are in the language of tr().
CommandLine parseCommandLine(const QStringList& arguments);

// The text of --help.
QString usageText();

// "tessel 1.1.0".
QString versionText();

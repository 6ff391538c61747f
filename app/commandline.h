// The program's command line: what to do, and with which folder. It is read before
// any connection to the window system, so that --help and --version work without a
// display.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Action {
        Edit,       // the editor, with FOLDER loaded when one is given
        Help,       // usage to standard output
        Version,    // "tessel <version>" to standard output
        UsageError, // error and usage to standard error
    };

    Action action = Action::Edit;
    QString folder; // Edit: may be empty
    QString error;  // UsageError: what is wrong, one line
};

// Reads the arguments, the program's name first (as main receives them).
CommandLine parseCommandLine(const QStringList& arguments);

// The text of --help.
QString usageText();

// "tessel 1.1.0".
QString versionText();

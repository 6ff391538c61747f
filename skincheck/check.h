// tessel --check FOLDER: the mistakes in a skin's two layout files, read with the
// editor's own rules, one line each in the form compilers and CI logs use.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class QTextStream;

namespace cli {

struct Finding {
    QString file; // the file's path: the folder as given, then the file name
    int line = 0; // counted from 1; 0 for a finding about the whole file
    bool error = false;
    QString message;  // in English, as the command prints it
    QString german;   // the same in German, as the window shows it
    int element = -1; // the element it concerns, or -1 for the file as a whole
};

// Every finding for the skin in `folder`, sorted by file and line. The editor's
// problem list shows the same findings.
std::vector<Finding> checkSkin(const QString& folder);

// "FILE:LINE: error: MESSAGE", or "FILE: warning: MESSAGE" without a line.
QString formatFinding(const Finding& finding);

// "0 errors, 1 warning".
QString summaryLine(int errors, int warnings);

// The whole command for the folder given by its bytes: the findings and the summary line
// to `out`, a folder that is missing or no folder to `err`, its name printable in both.
// Returns the exit status: 0, 1 with errors, 2 when the folder cannot be checked.
int runCheck(const QByteArray& folder, QTextStream& out, QTextStream& err);

} // namespace cli

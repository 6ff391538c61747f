// tessel --check FOLDER: the mistakes in a skin's two layout files, read with the
// editor's own rules, one line each in the form compilers and CI logs use.
#pragma once

#include "translations/texts.h"

#include <QByteArray>
#include <QString>
#include <vector>

class QTextStream;
namespace rawpath {
class ReachableFolder;
}

namespace cli {

struct Finding {
    QString file; // the file's path: the folder as given, then the file name
    int line = 0; // counted from 1; 0 for a finding about the whole file
    bool error = false;
    QString message;  // in English
    QString german;   // the same in German, as the window shows it
    int element = -1; // the element it concerns, or -1 for the file as a whole
};

// Every finding for the skin in `folder`, sorted by file and line. The editor's
// problem list shows the same findings.
std::vector<Finding> checkSkin(const QString& folder);
// The same for a folder given on the command line, named in the findings as it was given.
std::vector<Finding> checkSkin(const rawpath::ReachableFolder& folder, const QByteArray& given);

// "error" or "warning"; "Fehler" or "Warnung".
QString kindName(bool error, texts::Language language = texts::Language::English);

// "FILE:LINE: error: MESSAGE", or "FILE: warning: MESSAGE" without a line; in German
// "FILE:LINE: Fehler: MESSAGE".
QString formatFinding(const Finding& finding, texts::Language language = texts::Language::English);

// "0 errors, 1 warning"; "0 Fehler, 1 Warnung".
QString summaryLine(int errors, int warnings, texts::Language language = texts::Language::English);

// The findings one a line, then the summary line; returns the number of errors.
int printFindings(const std::vector<Finding>& findings, QTextStream& out, texts::Language language);

// Why a folder given on the command line cannot be checked or drawn ("no such folder",
// "no folder", "cannot be opened"), in the language of tr(); empty when it can.
QString folderProblem(const QByteArray& folder);

// The whole command for the folder given by its bytes: the findings and the summary line
// to `out`, a folder that is missing or no folder to `err`, its name printable in both;
// in the language of tr(). Returns the exit status: 0, 1 with errors, 2 when the folder
// cannot be checked.
int runCheck(const QByteArray& folder, QTextStream& out, QTextStream& err);

} // namespace cli

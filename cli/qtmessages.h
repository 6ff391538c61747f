// Qt's own messages on standard error. A script that reads what Tessel says there must
// not have to tell it from Qt's notes about the environment ("XDG_RUNTIME_DIR not set",
// a font the system lacks): those are kept back, and only what ends the program or makes
// it fail reaches the user.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace qtmessages {

// Routes every message of Qt's through Tessel's handler for the rest of the process.
// With TESSEL_QT_MESSAGES=1 in the environment, Qt prints all of them as it would.
void install();

// What the handler prints for a message ("tessel: TEXT"), or nothing for one it keeps
// back: critical and fatal messages are shown, warnings, notes and debug output are not.
std::optional<QString> shown(QtMsgType type, const QString& message);

} // namespace qtmessages

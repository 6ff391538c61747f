// Message boxes with German buttons.
#pragma once

#include <QString>

namespace ui {

enum MsgBoxStyle {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbExclamation = 48,
    vbInformation = 64
};
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// Shows a modal message box over the active window and returns the answer.
// Yes/No: "&Ja" (default) and "&Nein", no icon unless asked for; the question
// must be answered (Escape and the close button do nothing).
// Yes/No/Cancel: "&Ja" (default), "&Nein" and "Abbrechen"; Escape and the close
// button answer Cancel.
// OK/Cancel: "OK" (default) and "Abbrechen"; Escape answers Cancel.
int MsgBox(const QString& prompt, int buttons, const QString& title);

} // namespace ui

// The languages of the program: the window is German whatever the user's language (Qt's
// own texts too, such as the text boxes' context menu and key names like "Strg+H"); the
// command line speaks the user's language.
#pragma once

class QCoreApplication;

namespace translations {

// Installs Qt's German translation from the system's translation folder when the file
// is there; returns whether it was installed.
bool installQtGerman(QCoreApplication& app);

// Tessel's German texts and Qt's, for the window.
void useGerman(QCoreApplication& app);

// German for the command line when the user's locale asks for it; English otherwise.
void useUsersLanguage(QCoreApplication& app);

} // namespace translations

// Tessel's own texts in the user's language. The sources are English; German comes from
// tessel_de.ts, built into the program. The window is German whatever the user's
// language; the command line speaks German when the locale's messages are German.
#pragma once

#include <QString>

class QCoreApplication;

namespace texts {

enum class Language { English, German };

// The language for the command line's messages, by the rules of gettext: LC_ALL, else
// LC_MESSAGES, else LANG names the messages locale. Unless that is C or POSIX (or unset),
// the first language of the list in LANGUAGE that Tessel speaks counts, then the
// locale's own. English when neither is German or English.
Language userLanguage();

// The same from the given variables (values as the environment would hold them).
Language languageOf(const QByteArray& lcAll, const QByteArray& lcMessages, const QByteArray& lang,
                    const QByteArray& language);

// The German text of an English source text of the given context.
QString german(const char* context, const char* source);

// Installs Tessel's German texts into the application: every tr() of Tessel's answers
// in German from then on.
void installGerman(QCoreApplication& app);

// The language tr() answers in: German once installGerman ran.
Language language();

} // namespace texts

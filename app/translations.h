// Qt's own texts (the text boxes' context menu, key names such as "Strg+H") in German,
// like the rest of the window, whatever the user's language.
#pragma once

class QCoreApplication;

namespace translations {

// Installs Qt's German translation from the system's translation folder when the file
// is there; returns whether it was installed.
bool installQtGerman(QCoreApplication& app);

} // namespace translations

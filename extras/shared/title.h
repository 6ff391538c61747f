// The main window's title: the program's name, and after a load the name of the
// skin folder with the marker of unsaved changes.
#pragma once

#include <QString>

class QWidget;

namespace title {

// "Tessel - <folder name>[*]" for a skin folder (the path may end in a separator).
QString forSkinFolder(const QString& folder);

// Shows the title of the loaded folder, or the bare name before any load, and
// whether there are unsaved changes.
void show(QWidget& window, const QString& folder, bool loaded, bool changed);

// A text shown after the title (after the marker of unsaved changes), from now on.
void setSuffix(QWidget& window, const QString& suffix);

} // namespace title

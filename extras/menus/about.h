// "Über Tessel": what the program is, its version and the Qt it runs on.
#pragma once

#include <QString>

namespace menus {

QString aboutText();
void showAbout();

} // namespace menus

// The commands of the menu bar, taken from the window and the additions around it.
#pragma once

#include <memory>

class Workbench;
namespace menus {
class MenuBar;
class RecentFolders;
} // namespace menus

// Fills the four menus; the folders used last come with the "Datei" menu.
std::unique_ptr<menus::RecentFolders> fillMenus(menus::MenuBar& bar, Workbench& bench);

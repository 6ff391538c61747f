// The application's own style with one difference: the picture of the menu bar's
// extension button (shown only when the menus do not fit into the bar) is read when
// it is first drawn. Qt reads it as the bar is created, and finding a reader for it
// loads every image format the system offers, which costs start-up time and memory.
#pragma once

namespace menus {

// Makes the application's style the one above, unless it is already; to be called
// before the first window is created.
void deferStyleIcons();

} // namespace menus

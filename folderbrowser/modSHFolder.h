// The browse callback of the folder dialog. The dialog calls BrowseCallback; it passes each
// call on to the active browser, the one cSHFolder whose dialog is open. One dialog at a time.
#pragma once

#include "platform/shell.h"

#include <memory>

class cSHFolder;

namespace modSHFolder {

// Makes browser the active one. The reference counts: an object owned by shared_ptrs stays
// alive while it is active.
void SetActiveBrowser(std::shared_ptr<cSHFolder> browser);
void ClearActiveBrowser();

// The dialog's callback: the active browser's answer to the message, or 0 without one.
int BrowseCallback(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

} // namespace modSHFolder

// The skin folder named on the command line.
#pragma once

class QString;
class frmMain;

// Loads the folder in the window's first view as if it had been chosen in the folder
// dialog. A folder that does not exist or is no folder is refused with a message box,
// and the window stays empty.
void openStartFolder(frmMain& window, const QString& folder);

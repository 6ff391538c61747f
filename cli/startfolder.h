// The skin folder named on the command line.
#pragma once

class QByteArray;
class frmMain;

// Loads the folder, given by its bytes, in the window's first view as if it had been
// chosen in the folder dialog. A folder that does not exist, is no folder or whose name is
// no valid text (which the dialog does not open either) is refused with a message box,
// and the window stays empty.
void openStartFolder(frmMain& window, const QByteArray& folder);

// Names and descriptions for screen readers: every control of the main window says
// what it is. They are given from outside the window's definition, which so keeps
// its look.
#pragma once

namespace ui {
class MainForm;
}

namespace accessible {

void nameControls(ui::MainForm& window);

} // namespace accessible

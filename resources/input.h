// Mouse buttons, shift state and key codes in the program's numbering.
#pragma once

#include <Qt>

namespace ui {

// Button bits: 1 left, 2 right, 4 middle.
int buttonBits(Qt::MouseButtons buttons);
// Shift state bits: 1 Shift, 2 Ctrl, 4 Alt.
int shiftBits(Qt::KeyboardModifiers modifiers);
// Key code of a Qt key: letters and digits as their upper-case character,
// arrows 37 to 40, and the usual codes of the other keys (0 when there is none).
int keyCode(int qtKey);

inline constexpr int vbKeyLeft = 37;
inline constexpr int vbKeyUp = 38;
inline constexpr int vbKeyRight = 39;
inline constexpr int vbKeyDown = 40;

} // namespace ui

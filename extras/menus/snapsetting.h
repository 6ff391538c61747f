// Whether snapping is on, kept in the settings file (section "Ansicht", key
// "Einrasten": "1" or "0"; on when the file says nothing).
#pragma once

namespace menus {

bool rememberedSnapping();
void rememberSnapping(bool on);

} // namespace menus

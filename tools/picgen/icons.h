// The window icon and the arrow icons of the nudge pad, as PNG files.
#pragma once

#include "outputfile.h"

namespace picgen {

// Two cars, a red one behind a green one, in the 16 colours of the classic palette.
QImage windowIcon(int size);

// A shaded three-dimensional arrow on a transparent ground; `direction` is one of the
// German compass letters 'n', 'o', 's', 'w'.
QImage arrowIcon(char direction, int size);

// "tessel-<size>.png" and "arrow-<direction>-<size>.png".
OutputFiles iconFiles();

} // namespace picgen

// The street map behind the canvas, "Image1.bmp".
#pragma once

#include "outputfile.h"

namespace picgen {

// The map as the device's map view shows it, 240 x 300 pixels.
QImage streetMapPicture();

OutputFile streetMapFile();

} // namespace picgen

// The pictures of the 25 screen elements, "myImage1.bmp" to "myImage25.bmp"
// ("myImage20.gif"), encoded as the window expects them.
#pragma once

#include "outputfile.h"

namespace picgen {

OutputFiles elementPictures();

} // namespace picgen

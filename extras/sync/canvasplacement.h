// Where a load puts an element from the text of its layout file, as a pure function:
// the merge compares what two versions of a file would put on the canvas.
#pragma once

#include "app/skinlayout.h"
#include "extras/undo/layoutstep.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace filesync {

using undo::Placement;

// How the loaded layout maps file values onto the canvas.
struct CanvasMapping {
    double canvasLeft = 0; // twips: the canvas frame's top left corner, pixel 0, 0
    double canvasTop = 0;
    int view = 0; // 0 to 2: decides where "from" takes its x from
    // The info-bar shift of each element in pixels; nothing when it is out of range.
    std::array<std::optional<std::int32_t>, kElementCount> shift{};
    // The pictures' places in a new window, taken by keys that are no usable number.
    std::array<Placement, kElementCount> initial{};
};

// The placement the load gives element i when its file holds `text`: each key that is a
// number the picture can take as read (less the info-bar shift for y), every other as in
// a new window.
Placement loadedPlacement(std::string_view text, const skinlayout::Catalogue& catalogue, int index,
                          const CanvasMapping& mapping);
// The same with the values read through `read`.
Placement loadedPlacement(const skinlayout::KeyReader& read, const skinlayout::Catalogue& catalogue,
                          int index, const CanvasMapping& mapping);

} // namespace filesync

// How one element's placement comes out when the user and another program may both
// have changed it since the file was last read or written. Key by key (x, y, width,
// height): a value the other program changed and the user did not is taken from the
// file; a value the user changed stays.
#pragma once

#include "extras/undo/layoutstep.h"

namespace filesync {

using undo::Placement;

struct ElementMerge {
    Placement result;      // where the element is to stand
    unsigned taken = 0;    // the keys (undo::Key) that come from the file
    bool conflict = false; // both changed the element: a save may put the user's values over
                           // the other program's
};

// base: what the file put there when it was last read or written; file: what it puts
// there now; saved: where the element stood at the last load or save; current: where it
// stands.
ElementMerge mergeElement(const Placement& base, const Placement& file, const Placement& saved,
                          const Placement& current);

} // namespace filesync

// A drag step of the pointer on an element, as the element is about to apply
// it: the pointer position X, Y in twips from the picture's top-left corner
// (and, for a move, the grab point). The owner may shift the pointer position
// before the element applies the step as its own, for instance to make the
// element snap to its neighbours, and may move other elements along.
#pragma once

#include <cstdint>

struct DragStep {
    std::int16_t index = 0; // the element being dragged
    bool move = false;      // the whole element moves; otherwise the flagged edges
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;
    int shift = 0;    // shift state bits: 1 Shift, 2 Ctrl, 4 Alt
    double x = 0;     // pointer, twips from the picture's top-left corner
    double y = 0;     //
    double grabX = 0; // the grab point of a move, twips
    double grabY = 0; //
};

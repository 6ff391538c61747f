// What an element object tells its owner about an edit of the layout: when a
// pointer gesture or a key release in a coordinate box begins and ends. The
// owner may record the geometry around it; the element itself keeps no history.
#pragma once

#include <cstdint>

class QObject;

struct EditNotice {
    enum class Source { Pointer, Box };
    enum class Stage { Begin, End };

    Source source = Source::Pointer;
    Stage stage = Stage::Begin;
    std::int16_t index = 0;       // the element being edited
    const QObject* box = nullptr; // the coordinate box, for Source::Box
};

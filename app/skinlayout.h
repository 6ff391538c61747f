// What a load reads from a skin folder: the element catalogue, the info bar's height
// and, per element and view, the four texts that go into the coordinate boxes. The
// editor's load and the shell commands read skins through these routines alone.
#pragma once

#include "elements/programstate.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace skinlayout {

using Catalogue = std::array<ElementCatalogueEntry, kElementCount>;

// The catalogue's fixed contents: names, files, info-bar dependence and views.
Catalogue catalogue();

// The info bar's height in pixels, the "cy" of "infobar" rounded to a whole number;
// a text that is no number, or one out of range, counts as 0. The folder ends with
// a separator.
std::int32_t infoBarHeight(const QString& skinFolder, const Catalogue& catalogue);

// Whether the layout files in the folder can be named by their full paths: a folder near
// the longest path the system takes fits, but the names of its files may not. The folder
// ends with a separator.
bool filesReachable(const QString& skinFolder, const Catalogue& catalogue);

// The section whose "x" element i takes in view 0 to 2: its own, except for "from",
// which takes the dummy's of the view.
QString xSection(const Catalogue& catalogue, int index, int view);

// The texts the load puts into the boxes X, Y, CX and CY for element i in view 0 to 2.
// routeinfo and nextinfo keep their bottom edge at the fixed height 60.
struct Values {
    QString x, y, cx, cy;
};
Values elementValues(const QString& skinFolder, const Catalogue& catalogue, int index, int view);

// The same from a reader of the element's layout file: (section, key, default) -> text.
using KeyReader = std::function<QString(const QString& section, const QString& key, int fallback)>;
Values elementValues(const KeyReader& read, const Catalogue& catalogue, int index, int view);
// The info bar's height from a reader of its layout file.
std::int32_t infoBarHeight(const KeyReader& read);

} // namespace skinlayout

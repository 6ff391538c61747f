// Whether a layout file looks like one that another program is still writing. Programs
// that rewrite a file in place cut it first and write it anew, often in several parts;
// between the parts the file holds only the beginning of its new text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace filesync {

// Compared with `base` (its text at the last load, save or merge): `text` lacks a section
// or a key that the base has, or its last line has no line ending while the base's had
// one. Names match as the profile functions match them, without regard to case. A file
// that is gone (nothing) is not incomplete: a save makes it anew.
bool looksIncomplete(std::string_view text, std::string_view base);
bool looksIncomplete(const std::optional<std::string>& text,
                     const std::optional<std::string>& base);

} // namespace filesync

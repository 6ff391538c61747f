// Setting one key of a profile (INI) file in memory, leaving every other byte as it was.
#pragma once

#include <string>
#include <string_view>

namespace profile {

// Whether a section, key and value can be written without changing the meaning of other
// lines. The names are passed without surrounding blanks, the value without leading blanks.
// Refused: an empty name, a CR or LF anywhere, a ']' in the section name, an '=' in the key,
// and a key that would read as a section or a comment ('[' or ';' first).
bool canWrite(std::string_view section, std::string_view key, std::string_view value);

// The bytes of `text` with `key` of the first section `section` set to `value`.
// - An existing key's line becomes "Key=value", with the key spelt as in the file; its line
//   ending stays.
// - A new key goes directly after the last non-blank line of the section.
// - A new section goes at the end of the file, "[section]" and then "key=value".
// New lines use the file's own line ending; a last line without an ending gets one first.
// Expects arguments that canWrite() accepts.
std::string withValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value);

} // namespace profile

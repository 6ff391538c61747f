// A layout file's text as the profile functions see it, read safely, and the values
// of keys in such a text.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace filesync {

// The text of the file, read the way the profile functions read it: nothing for a file
// that is missing, unreadable, no regular file (a pipe, a device) or too large. Never
// blocks.
std::optional<std::string> readLayoutText(const QString& path);

// The value of a key in such a text by the profile reading rules, as the profile
// functions give it to the editor; the fallback when the section or the key is missing.
QString valueIn(std::string_view text, const QString& section, const QString& key, int fallback);
// The same; nothing when the section or the key is missing.
std::optional<QString> keyIn(std::string_view text, const QString& section, const QString& key);

} // namespace filesync

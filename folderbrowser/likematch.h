// Wildcard matching in the manner of the classic Like operator, without regard to case:
//   ?        any one character
//   *        any run of characters, also none
//   #        one digit 0-9
//   [list]   one character of the list; [!list] one character not in it. Inside a list, a-z
//            is a range, a '-' first or last stands for itself, and ? * # [ stand for
//            themselves. [] matches no character at all.
// The whole text must match the whole pattern. A malformed pattern (an unclosed list, a
// descending range) matches nothing.
#pragma once

#include <QString>

namespace folderbrowser {

bool likeMatch(const QString& text, const QString& pattern);

} // namespace folderbrowser

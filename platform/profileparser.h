// Reading the bytes of a profile (INI) file: lines, their kinds and the lookup of one key.
//
// The reader never copies: every name and value is a view into the file's bytes, and every
// line knows its offsets, so that an edit can splice new text into the untouched bytes.
//
// How lines are read:
// - A line ends at CR LF, LF or CR; the last line may have no ending.
// - A UTF-8 byte-order mark at the very start is skipped.
// - Blanks are space and tab only. Leading blanks decide nothing.
// - A line whose first non-blank byte is ';' is a comment.
// - A line whose first non-blank byte is '[' starts a section. Its name runs to the first ']',
//   or to the end of the line when there is none ("[abc" is section "abc"); text after the ']'
//   is ignored.
// - Any other line with an '=' is a key: the name is the text before the first '=', the value
//   the text after it, both without surrounding blanks.
// - Any other line (text without '=') is no key: it is kept, but it defines nothing.
#pragma once

#include <cstddef>
#include <string_view>

namespace profile {

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Line {
    std::size_t begin = 0; // first byte of the line
    std::size_t end = 0;   // one past its text: where its line ending starts
    std::size_t next = 0;  // first byte of the following line
    LineKind kind = LineKind::Blank;
    std::string_view name;  // Section, Key: the name without surrounding blanks
    std::string_view value; // Key: the text after the first '=' without surrounding blanks

    bool hasEnding() const { return next > end; }
};

// Walks the lines of a file's bytes in order.
class LineReader {
public:
    explicit LineReader(std::string_view text);

    // Reads the next line into `line`; false at the end of the bytes.
    bool next(Line& line);

private:
    std::string_view text_;
    std::size_t pos_;
};

// Length of the UTF-8 byte-order mark at the start of `text` (3 or 0).
std::size_t bomLength(std::string_view text);

bool isBlank(char c);
std::string_view trimBlanks(std::string_view text);
std::string_view trimLeadingBlanks(std::string_view text);
std::string_view trimTrailingBlanks(std::string_view text);

// Drops one pair of equal quotes (" or ') that enclose the whole value.
std::string_view unquote(std::string_view value);

// Names compare with ASCII case folding; bytes from 0x80 on compare as they are.
bool sameName(std::string_view a, std::string_view b);

// The first line ending found in `text`, or CR LF when it has none.
std::string_view lineEndingOf(std::string_view text);

struct KeyLocation {
    bool sectionFound = false;
    bool keyFound = false;
    Line key;           // the key's line, when found
    Line lastInSection; // the last non-blank line of the section (at least its header)
};

// Finds `key` in the first section named `section`. Names are compared as they are given:
// callers pass them without surrounding blanks. The first of several equal keys wins.
KeyLocation findKey(std::string_view text, std::string_view section, std::string_view key);

} // namespace profile

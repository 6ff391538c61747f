// The encodings of profile files. The profile functions work on 8-bit text, which for this
// program is UTF-8 (names, values and defaults cross in that form). A file that starts with
// a UTF-16 byte-order mark (little or big endian) is read as UTF-16 and converted; every
// other file is taken byte for byte, as it is.
//
// A UTF-16 file is written back in its own encoding with its byte-order mark. Since valid
// UTF-16 and UTF-8 convert into each other without loss, every byte that an edit does not
// touch comes back as it was. A file that does not convert exactly (an odd number of
// bytes, a lone surrogate, a UTF-32 byte-order mark) can be read as far as it goes but is
// never written.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace profile {

enum class Encoding { Bytes, Utf16LE, Utf16BE };

// The text of a file's bytes for reading: a damaged UTF-16 file gives U+FFFD for what does
// not convert; a UTF-32 file gives no text at all.
std::string textForReading(std::string bytes);

// A file's text for an edit, and the encoding to write it back in.
struct EditableText {
    Encoding encoding = Encoding::Bytes;
    std::string text;
};

// Nothing when the bytes do not convert exactly.
std::optional<EditableText> textForEditing(std::string bytes);

// Whether the texts can go into a file of `encoding`: anything for 8-bit files, valid
// UTF-8 for UTF-16 files.
bool fitsEncoding(Encoding encoding, std::initializer_list<std::string_view> texts);

// The bytes of a file of `encoding` that holds `text`, with the byte-order mark of a
// UTF-16 file. Nothing when the text does not fit the encoding.
std::optional<std::string> fileBytes(Encoding encoding, std::string_view text);

} // namespace profile

#include "platform/profiletext.h"

#include <cstdint>

namespace profile {

namespace {

constexpr std::string_view utf16LEMark = "\xFF\xFE";
constexpr std::string_view utf16BEMark = "\xFE\xFF";
constexpr std::string_view utf32LEMark{"\xFF\xFE\0\0", 4};
constexpr std::string_view utf32BEMark{"\0\0\xFE\xFF", 4};
constexpr char32_t replacement = 0xFFFD;

enum class Kind { Bytes, Utf16LE, Utf16BE, Utf32 };

Kind kindOf(std::string_view bytes) {
    if (bytes.starts_with(utf32LEMark) || bytes.starts_with(utf32BEMark)) {
        return Kind::Utf32;
    }
    if (bytes.starts_with(utf16LEMark)) {
        return Kind::Utf16LE;
    }
    if (bytes.starts_with(utf16BEMark)) {
        return Kind::Utf16BE;
    }
    return Kind::Bytes;
}

void appendUtf8(std::string& out, char32_t c) {
    const auto byte = [&](std::uint32_t b) { out.push_back(static_cast<char>(b)); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | (c >> 6));
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | (c >> 12));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | (c >> 18));
        byte(0x80 | ((c >> 12) & 0x3F));
        byte(0x80 | ((c >> 6) & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

// Converts the UTF-16 bytes after the mark to UTF-8. `exact` turns false when something
// does not convert; it then stands as U+FFFD (a lone surrogate) or is dropped (an odd
// last byte).
std::string utf16ToUtf8(std::string_view units, bool bigEndian, bool& exact) {
    exact = units.size() % 2 == 0;
    const std::size_t count = units.size() / 2;
    const auto unit = [&](std::size_t i) -> char16_t {
        const auto hi = static_cast<unsigned char>(units[2 * i + (bigEndian ? 0 : 1)]);
        const auto lo = static_cast<unsigned char>(units[2 * i + (bigEndian ? 1 : 0)]);
        return static_cast<char16_t>(hi << 8 | lo);
    };
    std::string out;
    out.reserve(count + count / 2);
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t u = unit(i);
        if (u < 0xD800 || u > 0xDFFF) {
            appendUtf8(out, u);
        } else if (u < 0xDC00 && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, replacement);
            exact = false;
        }
    }
    return out;
}

// The next code point of valid UTF-8 at `text[i]`, advancing i; nothing for a byte
// sequence that is no valid UTF-8 (also overlong forms, surrogates and values above
// U+10FFFF).
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char first = at(i);
    if (first < 0x80) {
        ++i;
        return first;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((first & 0xE0) == 0xC0) {
        length = 2, c = first & 0x1F, least = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        length = 3, c = first & 0x0F, least = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        length = 4, c = first & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - i < length) {
        return std::nullopt;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = c << 6 | (at(i + k) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    i += length;
    return c;
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (!nextCodePoint(text, i)) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> utf8ToUtf16(std::string_view text, bool bigEndian) {
    std::string out(bigEndian ? utf16BEMark : utf16LEMark);
    out.reserve(2 + 2 * text.size());
    const auto unit = [&](char32_t u) {
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        out.push_back(bigEndian ? hi : lo);
        out.push_back(bigEndian ? lo : hi);
    };
    for (std::size_t i = 0; i < text.size();) {
        const std::optional<char32_t> c = nextCodePoint(text, i);
        if (!c) {
            return std::nullopt;
        }
        if (*c < 0x10000) {
            unit(*c);
        } else {
            unit(0xD800 + ((*c - 0x10000) >> 10));
            unit(0xDC00 + ((*c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

} // namespace

std::string textForReading(std::string bytes) {
    bool exact = true;
    switch (kindOf(bytes)) {
    case Kind::Bytes:
        return bytes;
    case Kind::Utf16LE:
        return utf16ToUtf8(std::string_view(bytes).substr(2), false, exact);
    case Kind::Utf16BE:
        return utf16ToUtf8(std::string_view(bytes).substr(2), true, exact);
    case Kind::Utf32:
        break;
    }
    return {};
}

std::optional<EditableText> textForEditing(std::string bytes) {
    const Kind kind = kindOf(bytes);
    if (kind == Kind::Bytes) {
        return EditableText{Encoding::Bytes, std::move(bytes)};
    }
    if (kind == Kind::Utf32) {
        return std::nullopt;
    }
    const bool bigEndian = kind == Kind::Utf16BE;
    bool exact = true;
    std::string text = utf16ToUtf8(std::string_view(bytes).substr(2), bigEndian, exact);
    if (!exact) {
        return std::nullopt;
    }
    return EditableText{bigEndian ? Encoding::Utf16BE : Encoding::Utf16LE, std::move(text)};
}

bool fitsEncoding(Encoding encoding, std::initializer_list<std::string_view> texts) {
    if (encoding == Encoding::Bytes) {
        return true;
    }
    for (const std::string_view text : texts) {
        if (!isValidUtf8(text)) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> fileBytes(Encoding encoding, std::string_view text) {
    switch (encoding) {
    case Encoding::Bytes:
        return std::string(text);
    case Encoding::Utf16LE:
        return utf8ToUtf16(text, false);
    case Encoding::Utf16BE:
        return utf8ToUtf16(text, true);
    }
    return std::nullopt;
}

} // namespace profile

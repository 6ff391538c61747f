// Conversions between numbers and text, and the integer conversions of the
// program (rounding half to even, with overflow checks). Texts use ASCII digits
// and the hyphen-minus in every locale; the decimal separator is the user's
// when it is a comma or a point, else a point. No group separators.
#pragma once

#include <QString>
#include <cstdint>

namespace ui {

// Text to double. Blanks and bidi marks around the number are allowed, and so are
// the minus sign U+2212 and digits of other scripts; an empty text, a text with
// garbage (also "inf" and "nan") or a number out of range raises
// RuntimeError(TypeMismatch).
double CDbl(const QString& text);

// A single-precision value as its shortest text of at most 7 significant digits.
QString StrSingle(float value);

// A double as its text of at most 15 significant digits.
QString StrDouble(double value);

// Rounds to the nearest integer, a half to the even neighbour; out of range
// raises RuntimeError(Overflow).
std::int32_t CLng(double value);
std::int16_t CInt(double value);

// The largest integer not above the value (as a double).
double Int(double value);

} // namespace ui

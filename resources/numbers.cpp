#include "resources/numbers.h"

#include "resources/errors.h"

#include <QLocale>
#include <cfenv>
#include <cmath>
#include <limits>

namespace ui {

namespace {

// Numbers go into the layout files and the boxes in ASCII: digits 0-9, the
// hyphen-minus and 'E', whatever the user's locale. Only the decimal separator
// follows the user's settings, and only where it is a comma or a point; any
// other separator would not survive the round trip through a device file.
QChar decimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char('.');
}

// The locale's own separator, when it is neither comma nor point (Arabic and
// Persian). Files written by earlier versions may hold it.
QChar nativeSeparator() {
    const QString point = QLocale().decimalPoint();
    if (point.size() != 1 || point == QLatin1String(",") || point == QLatin1String("."))
        return QChar();
    return point.front();
}

QString formatted(double value, int digits) {
    if (value == 0.0)
        return QStringLiteral("0"); // never "-0"
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = c.toString(value, 'g', digits);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    const QChar separator = decimalSeparator();
    if (separator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

bool isBidiMark(QChar c) {
    return c == QChar(0x200E) || c == QChar(0x200F) || c == QChar(0x061C); // LRM, RLM, ALM
}

bool isSign(QChar c) {
    return c == QLatin1Char('-') || c == QLatin1Char('+') || c == QChar(0x2212);
}

// The text as the C locale spells it, or an empty string when it holds
// anything but a number. Tolerated beyond what we write: blanks and bidi marks
// around the number and its signs, the minus sign U+2212, digits of any script
// and the locale's own decimal separator. One comma or one point is a decimal
// separator in every locale: numbers are written without group separators, so
// a file written under another locale reads the same.
QString normalised(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin].isSpace() || isBidiMark(text[begin])))
        ++begin;
    while (end > begin && (text[end - 1].isSpace() || isBidiMark(text[end - 1])))
        --end;

    const QChar native = nativeSeparator();
    int separators = 0;
    QString ascii;
    ascii.reserve(end - begin);
    for (qsizetype i = begin; i < end; ++i) {
        const QChar c = text[i];
        if (isBidiMark(c)) {
            if (isSign(text[i - 1]) || isSign(text[i + 1]))
                continue; // inside the bounds: both neighbours exist
            return {};
        }
        if (c == QChar(0x2212))
            ascii += QLatin1Char('-');
        else if (c.isDigit())
            ascii += QLatin1Char(char('0' + c.digitValue()));
        else if (c == QLatin1Char(',') || c == QLatin1Char('.') ||
                 (!native.isNull() && c == native)) {
            if (++separators > 1)
                return {};
            ascii += QLatin1Char('.');
        } else if (c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('e') ||
                   c == QLatin1Char('E'))
            ascii += c;
        else
            return {}; // also the words "inf" and "nan", which Qt's parser takes
    }
    return ascii;
}

double roundHalfEven(double value) {
    // nearbyint follows the current rounding mode: make sure it is to-nearest-even.
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    if (mode != FE_TONEAREST)
        std::fesetround(mode);
    return r;
}

} // namespace

double CDbl(const QString& text) {
    const QString ascii = normalised(text);
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = ascii.isEmpty() ? 0.0 : c.toDouble(ascii, &ok);
    if (!ok || !std::isfinite(value))
        throw RuntimeError(RuntimeError::TypeMismatch, "Type mismatch");
    return value;
}

QString StrSingle(float value) {
    return formatted(double(value), 7);
}

QString StrDouble(double value) {
    return formatted(value, 15);
}

std::int32_t CLng(double value) {
    const double r = roundHalfEven(value);
    if (!(r >= double(std::numeric_limits<std::int32_t>::min()) &&
          r <= double(std::numeric_limits<std::int32_t>::max())))
        throw RuntimeError(RuntimeError::Overflow, "Overflow");
    return static_cast<std::int32_t>(r);
}

std::int16_t CInt(double value) {
    const double r = roundHalfEven(value);
    if (!(r >= double(std::numeric_limits<std::int16_t>::min()) &&
          r <= double(std::numeric_limits<std::int16_t>::max())))
        throw RuntimeError(RuntimeError::Overflow, "Overflow");
    return static_cast<std::int16_t>(r);
}

double Int(double value) {
    return std::floor(value);
}

} // namespace ui

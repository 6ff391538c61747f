#include "resources/numbers.h"

#include "resources/errors.h"

#include <QLocale>
#include <cfenv>
#include <cmath>
#include <limits>

namespace ui {

namespace {

// The user's number format (the default locale is the system's unless a test
// sets another), without group separators in either direction.
QLocale numberLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

QString formatted(double value, int digits) {
    if (value == 0.0)
        return QStringLiteral("0"); // never "-0"
    QString text = numberLocale().toString(value, 'g', digits);
    return text.replace(QLatin1Char('e'), QLatin1Char('E'));
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
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double value = trimmed.isEmpty() ? 0.0 : numberLocale().toDouble(trimmed, &ok);
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

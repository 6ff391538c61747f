#include "elements/typedvalue.h"

#include "resources/errors.h"
#include "resources/numbers.h"
#include "resources/screen.h"

#include <QObject>
#include <QVariant>

namespace typedvalue {

namespace {

constexpr double kTwips = ui::kTwipsPerPixel;

// Whether a box value comes back as typed from the element holding these twips: as the
// save writes it (the whole twips, less the canvas corner in single precision) and as the
// box shows it (single precision, seven digits).
bool comesBack(double value, double held, double origin) {
    const double written = (held - double(float(origin))) / kTwips;
    const float shown = (float(held) - float(origin)) / float(kTwips);
    return ui::CDbl(ui::StrDouble(written)) == value && ui::CDbl(ui::StrSingle(shown)) == value;
}

} // namespace

Outcome take(const QString& text, double origin, bool isSize) {
    double value = 0;
    double held = 0;
    try {
        value = ui::CDbl(text);
        held = double(ui::CLng(value * kTwips + origin));
    } catch (const ui::RuntimeError&) {
        return {}; // no number, or beyond the element's range
    }
    if (isSize && held < 0)
        return {};
    if (!comesBack(value, held, origin))
        return {std::nullopt, QStringLiteral("„%1“ kann das Element nicht genau halten. Das "
                                             "Element behält seinen Wert.")
                                  .arg(text.trimmed())};
    return {held, {}};
}

void mark(QObject& box, const QString& reason) {
    box.setProperty(kNotTaken, reason.isEmpty() ? QVariant() : QVariant(reason));
}

} // namespace typedvalue

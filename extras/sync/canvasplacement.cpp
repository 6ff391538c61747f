#include "extras/sync/canvasplacement.h"

#include "extras/sync/layoutfile.h"
#include "resources/errors.h"
#include "resources/numbers.h"
#include "resources/screen.h"

namespace filesync {

namespace {

constexpr double kTwips = ui::kTwipsPerPixel;

// A value in twips that the picture holds (the element gives its geometry as 32-bit
// integers), or the fallback.
template <typename F> double holdable(F&& twips, double fallback, bool isSize) {
    try {
        const double value = twips();
        static_cast<void>(ui::CLng(value));
        if (isSize && value < 0)
            return fallback;
        return value;
    } catch (const ui::RuntimeError&) {
        return fallback;
    }
}

} // namespace

Placement loadedPlacement(std::string_view text, const skinlayout::Catalogue& catalogue, int index,
                          const CanvasMapping& mapping) {
    return loadedPlacement([text](const QString& section, const QString& key,
                                  int fallback) { return valueIn(text, section, key, fallback); },
                           catalogue, index, mapping);
}

Placement loadedPlacement(const skinlayout::KeyReader& read, const skinlayout::Catalogue& catalogue,
                          int index, const CanvasMapping& mapping) {
    const skinlayout::Values values =
        skinlayout::elementValues(read, catalogue, index, mapping.view);
    const Placement& initial = mapping.initial[std::size_t(index)];
    const std::optional<std::int32_t> shift = mapping.shift[std::size_t(index)];
    Placement p;
    p.left = holdable([&] { return ui::CDbl(values.x) * kTwips + mapping.canvasLeft; },
                      initial.left, false);
    p.top = holdable(
        [&] {
            if (!shift)
                throw ui::RuntimeError(ui::RuntimeError::Overflow, "Overflow");
            return (ui::CDbl(values.y) - double(*shift)) * kTwips + mapping.canvasTop;
        },
        initial.top, false);
    p.width = holdable([&] { return ui::CDbl(values.cx) * kTwips; }, initial.width, true);
    p.height = holdable([&] { return ui::CDbl(values.cy) * kTwips; }, initial.height, true);
    return p;
}

} // namespace filesync

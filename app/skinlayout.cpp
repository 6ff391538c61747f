#include "app/skinlayout.h"

#include "app/Global.h"
#include "platform/shell.h"
#include "resources/errors.h"
#include "resources/numbers.h"

#include <QFile>
#include <algorithm>

namespace skinlayout {

namespace {

// A number read from a layout file where the load must compute with it; a text
// that is no number counts as 0.
double numberOrZero(const QString& text) {
    try {
        return ui::CDbl(text);
    } catch (const ui::RuntimeError&) {
        return 0.0;
    }
}

} // namespace

Catalogue catalogue() {
    Catalogue catalogue{};
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 17, 18, 20, 21, 22, 23, 24})
        catalogue[i].bInView[0] = true;
    for (int i : {0, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 21, 22, 23, 24})
        catalogue[i].bInView[1] = true;
    for (int i : {1, 3, 17, 18, 19, 21, 22, 23, 24})
        catalogue[i].bInView[2] = true;
    for (int i = 0; i < kElementCount; ++i)
        catalogue[i].iniFile =
            i <= 20 ? QStringLiteral("mapviewlt.ini") : QStringLiteral("defaultlt.ini");
    for (int i = 2; i <= 8; ++i)
        catalogue[i].bDepend = true;
    for (int i = 0; i < kElementCount; ++i)
        catalogue[i].iniName = Global::elementName(i);
    return catalogue;
}

std::int32_t infoBarHeight(const QString& skinFolder, const Catalogue& catalogue) {
    return infoBarHeight([&](const QString& section, const QString& key, int fallback) {
        return Global::ReadIniValue(skinFolder + catalogue[1].iniFile, section, key, fallback);
    });
}

std::int32_t infoBarHeight(const KeyReader& read) {
    try {
        return ui::CLng(numberOrZero(read(QStringLiteral("infobar"), QStringLiteral("cy"), 0)));
    } catch (const ui::RuntimeError&) {
        return 0; // out of range
    }
}

bool filesReachable(const QString& skinFolder, const Catalogue& catalogue) {
    return std::all_of(catalogue.cbegin(), catalogue.cend(), [&](const auto& entry) {
        return QFile::encodeName(skinFolder + entry.iniFile).size() < qsizetype(MAX_FS_PATH);
    });
}

QString xSection(const Catalogue& catalogue, int index, int view) {
    if (index == 3)
        return view == 0 ? QStringLiteral("smalldummy") : QStringLiteral("largedummy");
    return catalogue[index].iniName;
}

Values elementValues(const QString& skinFolder, const Catalogue& catalogue, int index, int view) {
    const QString file = skinFolder + catalogue[index].iniFile;
    return elementValues(
        [&](const QString& section, const QString& key, int fallback) {
            return Global::ReadIniValue(file, section, key, fallback);
        },
        catalogue, index, view);
}

Values elementValues(const KeyReader& read, const Catalogue& catalogue, int index, int view) {
    const ElementCatalogueEntry& entry = catalogue[index];
    Values values{read(xSection(catalogue, index, view), QStringLiteral("x"), 0),
                  read(entry.iniName, QStringLiteral("y"), 0),
                  read(entry.iniName, QStringLiteral("cx"), 20),
                  read(entry.iniName, QStringLiteral("cy"), 20)};
    if (index == 4 || index == 5) {
        // Fixed height 60, anchored at the bottom edge.
        const double top = ui::Int(numberOrZero(values.y)) + ui::Int(numberOrZero(values.cy)) - 60;
        values.y = ui::StrDouble(top);
        values.cy = QStringLiteral("60");
    }
    return values;
}

} // namespace skinlayout

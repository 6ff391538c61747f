#include "extras/menus/snapsetting.h"

#include "app/Global.h"

namespace menus {

namespace {

const QString kSection = QStringLiteral("Ansicht");
const QString kKey = QStringLiteral("Einrasten");

} // namespace

bool rememberedSnapping() {
    return Global::ReadIniValue(Global::settingsFile(), kSection, kKey, 1) != QLatin1String("0");
}

void rememberSnapping(bool on) {
    Global::WriteIniValue(Global::settingsFile(), kSection, kKey,
                          on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace menus

#include "extras/menus/about.h"

#include "resources/msgbox.h"

#include <QtGlobal>

namespace menus {

QString aboutText() {
    return QStringLiteral("Tessel v1.1\n\n"
                          "Ein Editor für die Bildschirm-Layouts der Kartenansicht eines "
                          "Navigationsgeräts mit 240 × 320 Pixeln: er schreibt die Lage und Größe "
                          "der 25 Elemente in mapviewlt.ini und defaultlt.ini eines Skin-Ordners."
                          "\n\nFreeware. Qt %1.")
        .arg(QString::fromLatin1(qVersion()));
}

void showAbout() {
    ui::MsgBox(aboutText(), ui::vbOKOnly | ui::vbInformation, QStringLiteral("Über Tessel"));
}

} // namespace menus

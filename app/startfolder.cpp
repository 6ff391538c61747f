#include "app/startfolder.h"

#include "app/frmMain.h"
#include "resources/msgbox.h"

#include <QDir>
#include <QFileInfo>

void openStartFolder(frmMain& window, const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir()) {
        const QString shown = QDir::toNativeSeparators(folder);
        const QString message =
            info.exists() ? QStringLiteral("\"%1\" ist kein Ordner.").arg(shown)
                          : QStringLiteral("Der Ordner \"%1\" existiert nicht.").arg(shown);
        ui::MsgBox(message, ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Ungültiger Ordner"));
        // The box came before the window had the keyboard; without a window manager
        // nobody hands it over afterwards.
        window.activateWindow();
        return;
    }
    // The folder dialog hands back absolute paths without a trailing separator.
    window.openSkinFolder(QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath())));
}

#include "cli/startfolder.h"

#include "app/frmMain.h"
#include "app/skinlayout.h"
#include "resources/msgbox.h"
#include "skincheck/rawpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void openStartFolder(frmMain& window, const QByteArray& bytes) {
    const QString folder = QFile::decodeName(bytes);
    const bool spelled = QFile::encodeName(folder) == bytes;
    const QFileInfo info(folder);
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    // A folder near the longest path the system takes may exist while its layout files
    // cannot be named: loading it would show defaults and every save would fail.
    const bool reachable =
        skinlayout::filesReachable(absolute + QLatin1Char('/'), skinlayout::catalogue());
    if (!spelled || !info.isDir() || !reachable) {
        const QString shown = QDir::toNativeSeparators(rawpath::shown(bytes));
        const QString message =
            !spelled ? QStringLiteral("Der Ordner \"%1\" kann nicht geöffnet werden: sein Name ist "
                                      "kein gültiger Text.")
                           .arg(shown)
            : !info.exists() ? QStringLiteral("Der Ordner \"%1\" existiert nicht.").arg(shown)
            : !info.isDir()  ? QStringLiteral("\"%1\" ist kein Ordner.").arg(shown)
                            : QStringLiteral("Der Pfad dieses Ordners ist zu lang für die Dateien "
                                             "mapviewlt.ini und defaultlt.ini.");
        ui::MsgBox(message, ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Ungültiger Ordner"));
        // The box came before the window had the keyboard; without a window manager
        // nobody hands it over afterwards.
        window.activateWindow();
        return;
    }
    // The folder dialog hands back absolute paths without a trailing separator.
    window.openSkinFolder(QDir::toNativeSeparators(absolute));
}

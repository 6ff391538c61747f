#include "extras/shared/title.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace title {

namespace {

const char* const kSuffix = "titleSuffix";

QString suffixOf(const QWidget& window) {
    QString suffix = window.property(kSuffix).toString();
    return suffix.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

} // namespace

QString forSkinFolder(const QString& folder) {
    QString path = QDir::fromNativeSeparators(folder);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    QString name = QFileInfo(path).fileName();
    if (name.isEmpty())
        name = QDir::toNativeSeparators(path);                     // a drive or file system root
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")); // shown as written
    return QStringLiteral("Tessel - ") + name + QStringLiteral("[*]");
}

void show(QWidget& window, const QString& folder, bool loaded, bool changed) {
    const QString text =
        (loaded ? forSkinFolder(folder) : QStringLiteral("Tessel")) + suffixOf(window);
    if (window.windowTitle() != text)
        window.setWindowTitle(text);
    window.setWindowModified(loaded && changed);
}

void setSuffix(QWidget& window, const QString& suffix) {
    QString text = window.windowTitle();
    const QString old = suffixOf(window);
    if (text.endsWith(old))
        text.chop(old.size());
    window.setProperty(kSuffix, suffix);
    window.setWindowTitle(text + suffixOf(window));
}

} // namespace title

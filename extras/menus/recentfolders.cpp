#include "extras/menus/recentfolders.h"

#include "app/Global.h"
#include "platform/profilebatch.h"
#include "resources/msgbox.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace menus {

namespace {

const QString kSection = QStringLiteral("Directory");
constexpr int kShownLength = 60; // characters of a path in the menu

// "recent1" is the folder used before the last one.
QString keyOf(int slot) {
    return QStringLiteral("recent") + QString::number(slot);
}

// One folder has one spelling: without separators at its end.
QString normalised(const QString& folder) {
    QString path = QDir::fromNativeSeparators(folder);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QString shown(const QString& folder) {
    QString text = QDir::toNativeSeparators(folder);
    if (text.size() > kShownLength) // the end names the folder: keep it
        text = text.left(12) + QStringLiteral("…") + text.right(kShownLength - 13);
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

RecentFolders::RecentFolders(QMenu& menu, QAction* before, std::function<void(const QString&)> open)
    : m_menu(menu), m_before(before), m_open(std::move(open)) {
    connect(&menu, &QMenu::aboutToShow, this, &RecentFolders::rebuild);
}

RecentFolders::~RecentFolders() = default;

QStringList RecentFolders::read() {
    QStringList folders;
    const QString file = Global::settingsFile();
    for (int slot = 0; slot < kCount; ++slot) {
        const QString folder = Global::ReadIniPath(
            file, kSection, slot == 0 ? QStringLiteral("lastDir") : keyOf(slot), QString());
        if (!folder.isEmpty() && !folders.contains(normalised(folder)))
            folders << normalised(folder);
    }
    return folders;
}

void RecentFolders::add(const QString& folder) {
    const QString path = normalised(folder);
    QStringList folders = read();
    if (path.isEmpty() || (!folders.isEmpty() && folders.front() == path))
        return; // the last folder again: nothing moves
    folders.removeAll(path);
    folders.prepend(path);
    // Only the keys that change, in one replace of the settings file.
    const QString file = Global::settingsFile();
    ProfileWriteBatch batch;
    for (int slot = 1; slot < kCount; ++slot) {
        const QString now = Global::ReadIniPath(file, kSection, keyOf(slot), QString());
        const QString wanted = slot < folders.size() ? folders[slot] : QString();
        if (now != wanted)
            Global::WriteIniValue(file, kSection, keyOf(slot), wanted);
    }
    batch.commit();
}

void RecentFolders::rebuild() {
    for (QAction* entry : m_entries)
        delete entry;
    m_entries.clear();
    const QStringList folders = read();
    for (int i = 0; i < folders.size(); ++i) {
        const QString& folder = folders[i];
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown(folder)), &m_menu);
        entry->setStatusTip(QDir::toNativeSeparators(folder));
        entry->setToolTip(QDir::toNativeSeparators(folder));
        // A folder that is gone cannot be loaded, as in the folder dialog.
        entry->setEnabled(QFileInfo(folder).isDir());
        connect(entry, &QAction::triggered, this, [this, folder] { choose(folder); });
        m_menu.insertAction(m_before, entry);
        m_entries.push_back(entry);
    }
}

void RecentFolders::choose(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        ui::MsgBox(QStringLiteral("Den Ordner ") + QDir::toNativeSeparators(folder) +
                       QStringLiteral(" gibt es nicht mehr."),
                   ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Zuletzt verwendet"));
        return;
    }
    m_open(folder);
}

} // namespace menus

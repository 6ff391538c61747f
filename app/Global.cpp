#include "app/Global.h"

#include "platform/profile.h"

#include <QDir>
#include <array>
#include <span>
#include <vector>

namespace Global {

namespace {

QString readInto(std::span<char> buffer, const QString& fileName, const QString& section,
                 const QString& key, const QString& defaultValue) {
    GetPrivateProfileStringA(section.toLocal8Bit().constData(), key.toLocal8Bit().constData(),
                             defaultValue.toLocal8Bit().constData(), buffer.data(),
                             DWORD(buffer.size()), QFile::encodeName(fileName).constData());
    buffer.back() = '\0';
    return QString::fromLocal8Bit(buffer.data()); // up to the first NUL
}

// The longest path the file system takes, its NUL included.
constexpr std::size_t kLongestPath = 4096;

} // namespace

QString ReadIniValue(const QString& fileName, const QString& section, const QString& key,
                     const QString& defaultValue) {
    std::array<char, 1024> buffer{};
    return readInto(buffer, fileName, section, key, defaultValue);
}

QString ReadIniPath(const QString& fileName, const QString& section, const QString& key,
                    const QString& defaultValue) {
    std::vector<char> buffer(kLongestPath, '\0');
    return readInto(buffer, fileName, section, key, defaultValue);
}

QString ReadIniValue(const QString& fileName, const QString& section, const QString& key,
                     int defaultValue) {
    return ReadIniValue(fileName, section, key, QString::number(defaultValue));
}

bool WriteIniValue(const QString& fileName, const QString& section, const QString& key,
                   const QString& value) {
    return WritePrivateProfileStringA(
               section.toLocal8Bit().constData(), key.toLocal8Bit().constData(),
               value.toLocal8Bit().constData(), QFile::encodeName(fileName).constData()) != FALSE;
}

QString settingsFile() {
    return QDir::toNativeSeparators(QDir::currentPath()) + QDir::separator() +
           QStringLiteral("Tessel.ini");
}

QString defaultSkinFolder() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\");
#else
    return QStringLiteral("/");
#endif
}

QString elementName(int index) {
    static const char* const names[] = {
        "zoomwin",    "infobar",   "to",       "from",    "routeinfo", "nextinfo",   "distance",
        "schematic2", "schematic", "birdview", "zoomout", "zoomin",    "auto",       "pan",
        "center",     "north",     "route",    "info",    "Menu",      "largedummy", "smalldummy",
        "log",        "tmc",       "gps",      "win"};
    if (index < 0 || index >= int(std::size(names)))
        return {};
    return QString::fromLatin1(names[index]);
}

} // namespace Global

// The element catalogue's fixed contents and the two routines through which every
// profile-file access of the program goes.
#pragma once

#include <QString>

namespace Global {

// Reads a key; a missing file, section or key gives the default. A value longer
// than 1023 characters comes back cut to 1023.
QString ReadIniValue(const QString& fileName, const QString& section, const QString& key,
                     const QString& defaultValue);
QString ReadIniValue(const QString& fileName, const QString& section, const QString& key,
                     int defaultValue);

// Reads a key that holds a folder path: as ReadIniValue, with room for the longest path the
// file system takes (4095 bytes) instead of 1023 characters.
QString ReadIniPath(const QString& fileName, const QString& section, const QString& key,
                    const QString& defaultValue);

// Writes a key; returns whether the file was written.
bool WriteIniValue(const QString& fileName, const QString& section, const QString& key,
                   const QString& value);

// The settings file: the current directory at the moment of the call, the native
// separator and "Tessel.ini".
QString settingsFile();
// The folder the settings file names when it names none: the file system's root.
QString defaultSkinFolder();

// The element names, which are also their section names, by element index.
QString elementName(int index);

} // namespace Global

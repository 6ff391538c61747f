// Paths from the command line, kept byte for byte. A name on Linux is any string of bytes,
// not necessarily UTF-8, while QString holds text: a byte that is no part of a UTF-8
// character travels in it as one of the code points U+DC80 to U+DCFF (which UTF-8 text
// never holds), and turns back into that byte on the way to the file system.
#pragma once

#include "platform/posixfile.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace rawpath {

// An argument as text: its UTF-8 characters, and each other byte as U+DC00 + the byte.
QString argumentText(const char* argument);

// The bytes of such a text: the inverse of argumentText.
QByteArray argumentBytes(QStringView text);

// A path for messages: its UTF-8 characters where they are printable, every other byte
// as \xHH (a backslash as \\).
QString shown(const QByteArray& path);

// A folder given by its bytes, under a name that Qt's file functions reach: the path
// itself when Qt's file names can spell it, else the folder opened and named through
// /proc/self/fd for as long as this object lives.
class ReachableFolder {
public:
    explicit ReachableFolder(const QByteArray& path);
    // Empty when the folder could not be opened.
    const QString& path() const { return path_; }

private:
    profile::Descriptor fd_;
    QString path_;
};

} // namespace rawpath

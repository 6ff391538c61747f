#include "skincheck/rawpath.h"

#include <QFile>
#include <algorithm>
#include <fcntl.h>

namespace rawpath {

namespace {

constexpr char16_t kEscapedByte = 0xDC00; // + the byte, for bytes 0x80 to 0xFF

// The length of the UTF-8 character at the start of `bytes`, or 0 when they start with
// none (a stray or overlong byte, a surrogate, a code point beyond U+10FFFF).
int utf8Length(QByteArrayView bytes) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    int length = 0;
    char32_t code = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return overlong || surrogate || code > 0x10FFFF ? 0 : length;
}

// Whether Qt's file names hold these bytes unchanged.
bool spelledByQt(const QByteArray& path) {
    return QFile::encodeName(QFile::decodeName(path)) == path;
}

} // namespace

QString argumentText(const char* argument) {
    const QByteArrayView bytes(argument);
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = utf8Length(bytes.sliced(i));
        if (length == 0) {
            text += QChar(kEscapedByte + static_cast<unsigned char>(bytes[i]));
            ++i;
        } else {
            text += QString::fromUtf8(bytes.sliced(i, length));
            i += length;
        }
    }
    return text;
}

QByteArray argumentBytes(QStringView text) {
    QByteArray bytes;
    qsizetype start = 0; // of the text not yet converted
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool escaped = i < text.size() && text[i].unicode() >= kEscapedByte + 0x80 &&
                             text[i].unicode() <= kEscapedByte + 0xFF;
        if (i == text.size() || escaped) {
            bytes += text.sliced(start, i - start).toUtf8();
            if (escaped)
                bytes += static_cast<char>(text[i].unicode() - kEscapedByte);
            start = i + 1;
        }
    }
    return bytes;
}

QString shown(const QByteArray& path) {
    QString text;
    for (qsizetype i = 0; i < path.size();) {
        const int length = utf8Length(QByteArrayView(path).sliced(i));
        const QString character =
            length == 0 ? QString() : QString::fromUtf8(path.constData() + i, length);
        if (character == QLatin1String("\\")) {
            text += QLatin1String("\\\\");
        } else if (!character.isEmpty() && QChar::isPrint(character.toUcs4().constFirst())) {
            text += character;
        } else {
            for (int k = 0; k < std::max(length, 1); ++k)
                text += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(path[i + k]), 2, 16,
                                                    QLatin1Char('0'));
        }
        i += std::max(length, 1);
    }
    return text;
}

ReachableFolder::ReachableFolder(const QByteArray& path)
    : fd_(spelledByQt(path) ? -1 : ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      path_(spelledByQt(path) ? QFile::decodeName(path)
            : fd_.valid()     ? QStringLiteral("/proc/self/fd/%1").arg(fd_.get())
                              : QString()) {}

} // namespace rawpath

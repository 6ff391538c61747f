#include "extras/sync/layoutfile.h"

#include "platform/profilefile.h"
#include "platform/profileparser.h"
#include "platform/profiletext.h"

#include <QFile>

namespace filesync {

namespace {

// The longest value the editor reads, as its reads of single keys cut it.
constexpr std::size_t kLongestValue = 1023;

} // namespace

std::optional<std::string> readLayoutText(const QString& path) {
    std::optional<std::string> bytes = profile::readWholeFile(QFile::encodeName(path).constData());
    if (!bytes)
        return std::nullopt;
    return profile::textForReading(std::move(*bytes));
}

QString valueIn(std::string_view text, const QString& section, const QString& key, int fallback) {
    return keyIn(text, section, key).value_or(QString::number(fallback));
}

std::optional<QString> keyIn(std::string_view text, const QString& section, const QString& key) {
    const QByteArray sectionName = section.toLocal8Bit();
    const QByteArray keyName = key.toLocal8Bit();
    const profile::KeyLocation at =
        profile::findKey(text, profile::trimBlanks(std::string_view(sectionName)),
                         profile::trimBlanks(std::string_view(keyName)));
    if (!at.keyFound)
        return std::nullopt;
    std::string_view value = profile::unquote(at.key.value);
    value = value.substr(0, std::min(value.find('\0'), kLongestValue));
    return QString::fromLocal8Bit(value.data(), qsizetype(value.size()));
}

} // namespace filesync

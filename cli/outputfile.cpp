#include "cli/outputfile.h"

#include "app/skinlayout.h"
#include "cli/commandline.h"
#include "cli/pngfile.h"
#include "platform/profilefile.h"
#include "platform/profilereplace.h"

#include <QBuffer>
#include <QFile>
#include <QSet>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace cli {

namespace {

QString systemError(const QString& fallback) {
    return errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : fallback;
}

} // namespace

std::optional<PictureFormat> pictureFormatOf(const QByteArray& path) {
    const QByteArray ending = path.right(4).toLower();
    if (ending == ".png")
        return PictureFormat::Png;
    if (ending == ".bmp")
        return PictureFormat::Bmp;
    return std::nullopt;
}

QByteArray encodePicture(const QImage& picture, PictureFormat format) {
    if (format == PictureFormat::Png)
        return encodePng(picture);
    // Qt writes 32-bit pictures as 24-bit bitmaps, uncompressed.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP"))
        return {};
    return bytes;
}

QString refusalOf(const QByteArray& target, const QByteArray& folder) {
    struct stat st {};
    if (::stat(target.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return CommandLine::tr("is no regular file");
    const std::optional<profile::FileIdentity> identity = profile::identityOf(target.constData());
    QSet<QString> layoutFiles;
    for (const ElementCatalogueEntry& entry : skinlayout::catalogue())
        layoutFiles.insert(entry.iniFile);
    for (const QString& name : layoutFiles) {
        const QByteArray layout = folder + '/' + QFile::encodeName(name);
        if (identity && identity == profile::identityOf(layout.constData()))
            return CommandLine::tr("is the skin's layout file %1").arg(name);
    }
    return {};
}

QString writePictureFile(const QByteArray& target, const QByteArray& bytes) {
    if (bytes.isEmpty())
        return CommandLine::tr("the picture could not be encoded");
    errno = 0;
    const std::optional<profile::FileToUpdate> file = profile::prepareUpdate(target.constData());
    if (!file)
        return systemError(CommandLine::tr("the file cannot be replaced"));
    errno = 0;
    if (!profile::replaceFile(*file, std::string_view(bytes.constData(), bytes.size())))
        return systemError(CommandLine::tr("the file could not be written"));
    return {};
}

} // namespace cli

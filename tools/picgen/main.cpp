// picgen: draws the pictures of the Tessel window and writes them, with the resource
// file that lists them, into the folder given on the command line.
//
//     QT_QPA_PLATFORM=offscreen picgen <output folder>

#include "elementpictures.h"
#include "icons.h"
#include "mappicture.h"
#include "outputfile.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>

namespace {

QByteArray resourceFile(const picgen::OutputFiles& files) {
    QByteArray qrc("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/pictures\">\n");
    for (const picgen::OutputFile& file : files)
        qrc += "    <file>" + file.name.toUtf8() + "</file>\n";
    qrc += "</qresource>\n</RCC>\n";
    return qrc;
}

// The pictures are drawn with the DejaVu fonts only, so that they do not depend on the
// machine's default font; without them the texts would silently change.
bool fontsAvailable() {
    const QStringList families = QFontDatabase::families();
    bool ok = true;
    for (const QString& family : {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif")}) {
        if (!families.contains(family)) {
            std::fprintf(stderr, "picgen: font \"%s\" missing (package fonts-dejavu-core)\n",
                         qPrintable(family));
            ok = false;
        }
    }
    return ok;
}

bool writeFile(const QDir& folder, const QString& name, const QByteArray& bytes) {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "picgen: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    const QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: picgen <output folder>\n");
        return 2;
    }
    if (!fontsAvailable())
        return 1;
    const QDir folder(args.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "picgen: cannot create %s\n", qPrintable(args.at(1)));
        return 1;
    }

    picgen::OutputFiles files = picgen::elementPictures();
    files.push_back(picgen::streetMapFile());
    for (picgen::OutputFile& icon : picgen::iconFiles())
        files.push_back(std::move(icon));
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });

    bool ok = true;
    for (const picgen::OutputFile& file : files)
        ok = writeFile(folder, file.name, file.bytes) && ok;
    ok = writeFile(folder, QStringLiteral("pictures.qrc"), resourceFile(files)) && ok;
    return ok ? 0 : 1;
}

#include "app/cli/render.h"

#include "app/cli/pngfile.h"
#include "app/commandline.h"
#include "app/frmMain.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#ifdef TESSEL_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace cli {

namespace {

// The canvas holds pictures and frames only, never text, so the render needs none of
// the machine's fonts. An empty font configuration spares reading the system's font
// set-up (dozens of files), which Qt does even for the text-free window and again on
// leaving, and which costs more than all the rest of the render. Must run before the
// application object exists.
void skipSystemFonts() {
#ifdef TESSEL_HAVE_FONTCONFIG
    FcConfig* const empty = FcConfigCreate();
    if (empty == nullptr)
        return;
    FcConfigSetCurrent(empty); // holds a reference of its own
    FcConfigDestroy(empty);
#endif
}

// Writes the picture as a PNG file; what went wrong, or nothing. A file that could not
// be written completely is removed.
QString writePng(const QImage& picture, const QString& path) {
    const QByteArray bytes = encodePng(picture);
    if (bytes.isEmpty())
        return QStringLiteral("the picture could not be encoded");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString problem = file.errorString();
        file.remove();
        return problem;
    }
    return {};
}

} // namespace

std::vector<QImage> renderViews(const QString& folder, const std::vector<int>& views, bool infobar,
                                int scale) {
    std::vector<QImage> pictures;
    for (int view : views) {
        // A window of its own for every view: where an element stays whose value is no
        // number must not depend on the view drawn before.
        frmMain window;
        window.Form_Load(); // the start-up of the editor, without showing the window
        window.ChkInfobar->setValue(infobar ? 1 : 0);
        window.ComboAnsicht->setText(QStringLiteral("Kartenansicht %1").arg(view));
        window.openSkinFolder(folder, false);
        window.Selector->setVisible(false);
        // The frame's own container draws it, wherever the window shows that.
        const QImage canvas =
            window.Shape1->parentWidget()->grab(window.Shape1->geometry()).toImage();
        pictures.push_back(
            canvas.scaled(canvas.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    return pictures;
}

std::vector<QString> renderFiles(const QString& output, const std::vector<int>& views) {
    if (views.size() == 1)
        return {output};
    QString stem = output;
    if (stem.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        stem.chop(4);
    std::vector<QString> files;
    for (int view : views)
        files.push_back(stem + QStringLiteral("-%1.png").arg(view));
    return files;
}

int runRender(int argc, char* argv[], const CommandLine& command, QTextStream& err) {
    const QFileInfo folder(command.folder);
    if (!folder.isDir()) {
        err << "tessel: " << command.folder
            << (folder.exists() ? ": no folder\n" : ": no such folder\n");
        return 2;
    }
    // No window is shown: the offscreen platform needs no display, and one pixel of the
    // picture is one pixel of the canvas.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"})
        qunsetenv(name);
    // A font resolution set for the desktop (QT_FONT_DPI) would scale the canvas too.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    skipSystemFonts();
    QApplication app(argc, argv);

    const std::vector<int> views =
        command.view == 0 ? std::vector<int>{1, 2, 3} : std::vector<int>{command.view};
    const std::vector<QImage> pictures =
        renderViews(command.folder, views, command.infobar, command.scale);
    const std::vector<QString> files = renderFiles(command.output, views);
    int status = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QString problem = writePng(pictures[i], files[i]);
        if (!problem.isEmpty()) {
            err << "tessel: cannot write " << files[i] << ": " << problem << '\n';
            status = 2;
        }
    }
    return status;
}

} // namespace cli

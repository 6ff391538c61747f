#include "cli/render.h"

#include "app/frmMain.h"
#include "app/translations.h"
#include "cli/commandline.h"
#include "cli/outputfile.h"
#include "skincheck/check.h"
#include "skincheck/rawpath.h"

#include <QApplication>
#include <QTextStream>
#include <sys/stat.h>

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

// No window is shown: the offscreen platform needs no display, and one pixel of the
// picture is one pixel of the canvas. Must run before the application object exists.
void prepareOffscreen() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"})
        qunsetenv(name);
    // A font resolution set for the desktop (QT_FONT_DPI) would scale the canvas too.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    skipSystemFonts();
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

std::vector<QByteArray> renderFiles(const QByteArray& output, const std::vector<int>& views) {
    if (views.size() == 1)
        return {output};
    const qsizetype endingLength = pictureFormatOf(output) ? 4 : 0;
    const QByteArray stem = output.chopped(endingLength);
    const QByteArray ending = endingLength > 0 ? output.right(endingLength) : QByteArray(".png");
    std::vector<QByteArray> files;
    for (int view : views)
        files.push_back(stem + '-' + QByteArray::number(view) + ending);
    return files;
}

int runRender(int argc, char* argv[], const CommandLine& command, QTextStream& err) {
    prepareOffscreen();
    QApplication app(argc, argv);
    translations::useUsersLanguage(app);

    const QString problem = folderProblem(command.folder);
    if (!problem.isEmpty()) {
        err << "tessel: " << rawpath::shown(command.folder) << ": " << problem << '\n';
        return 2;
    }
    const std::optional<PictureFormat> format = pictureFormatOf(command.output);
    if (!format) {
        err << "tessel: " << rawpath::shown(command.output) << ": "
            << CommandLine::tr("unknown picture format; the name must end in .png or .bmp") << '\n';
        return 2;
    }
    const std::vector<int> views =
        command.view == 0 ? std::vector<int>{1, 2, 3} : std::vector<int>{command.view};
    const std::vector<QByteArray> files = renderFiles(command.output, views);
    // Every target is looked at before anything is drawn or written.
    for (const QByteArray& file : files) {
        const QString refusal = refusalOf(file, command.folder);
        if (!refusal.isEmpty()) {
            err << "tessel: " << rawpath::shown(file) << ' ' << refusal << "; "
                << CommandLine::tr("it is left alone") << '\n';
            return 2;
        }
    }
    const rawpath::ReachableFolder folder(command.folder);

    // What the pictures are drawn from, as --check says it; a clean skin says nothing.
    const std::vector<Finding> findings = checkSkin(folder, command.folder);
    const int errors = findings.empty() ? 0 : printFindings(findings, err, texts::language());
    if (command.strict && errors > 0)
        return 1;

    const std::vector<QImage> pictures =
        renderViews(folder.path(), views, command.infobar, command.scale);
    int status = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QString failure = writePictureFile(files[i], encodePicture(pictures[i], *format));
        if (!failure.isEmpty()) {
            err << "tessel: "
                << CommandLine::tr("cannot write %1: %2").arg(rawpath::shown(files[i]), failure)
                << '\n';
            status = 2;
        }
    }
    return status;
}

} // namespace cli

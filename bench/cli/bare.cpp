// The yardstick for "tessel --render": what a picture drawn by Qt widgets costs as a whole
// process with Qt's defaults. One label on the offscreen platform, grabbed and written as a
// PNG file.
#include <QApplication>
#include <QLabel>
#include <QPixmap>

int main(int argc, char* argv[]) {
    if (argc < 2)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Tessel"));
    label.resize(240, 320);
    return label.grab().save(QString::fromLocal8Bit(argv[1]), "PNG", 80) ? 0 : 1;
}

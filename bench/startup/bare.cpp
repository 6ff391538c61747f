// The yardstick for the editor's start-up: a bare Qt window of the editor's size
// holding one push button, and nothing else.
#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(601, 345);
    QPushButton button(QStringLiteral("Laden"), &window);
    button.setGeometry(464, 264, 121, 33);
    window.show();
    return app.exec();
}

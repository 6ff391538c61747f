#include "app/frmMain.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt would stop with an error of its own; say what to do instead.
bool displayAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    if (!displayAvailable()) {
        std::fputs("tessel: no display found. Start it under X, for example: "
                   "xvfb-run -s '-screen 0 1024x768x24' tessel\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    frmMain window;
    window.show();
    return app.exec();
}

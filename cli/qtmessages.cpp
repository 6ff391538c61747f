#include "cli/qtmessages.h"

#include <QByteArray>
#include <cstdio>

namespace qtmessages {

namespace {

void passOn(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (const std::optional<QString> text = shown(type, message)) {
        std::fputs(text->toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
    }
}

} // namespace

std::optional<QString> shown(QtMsgType type, const QString& message) {
    if (type != QtCriticalMsg && type != QtFatalMsg)
        return std::nullopt;
    return QStringLiteral("tessel: ") + message + QLatin1Char('\n');
}

void install() {
    if (qEnvironmentVariable("TESSEL_QT_MESSAGES") == QLatin1String("1"))
        return;
    qInstallMessageHandler(passOn);
}

} // namespace qtmessages

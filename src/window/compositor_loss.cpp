#include "window/compositor_loss.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace kelto {
namespace {

QtMessageHandler nextHandler = nullptr;

// The plugin's two last words before it exits; it may say them from its event thread.
bool IsConnectionEnd(const QString& message) {
    return message.startsWith(QLatin1String("The Wayland connection broke")) ||
           message.startsWith(QLatin1String("The Wayland connection experienced a fatal error"));
}

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (IsConnectionEnd(message)) {
        const QByteArray line = "kelto: error: " + message.toLocal8Bit() + "\n";
        std::fputs(line.constData(), stderr);
        std::fflush(nullptr);
        std::_Exit(EXIT_FAILURE);
    }
    if (nextHandler) nextHandler(type, context, message);
}

}  // namespace

void EndAtOnceOnCompositorLoss() {
    nextHandler = qInstallMessageHandler(Handle);
}

}  // namespace kelto

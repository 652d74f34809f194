#include "window/display_loss.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace kelto {
namespace {

QtMessageHandler toolkitHandler = nullptr;

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("X11 connection broke"))) {
        const QByteArray line = "kelto: error: " + message.toLocal8Bit() + "\n";
        std::fputs(line.constData(), stderr);
        std::fflush(nullptr);
        std::_Exit(EXIT_FAILURE);
    }
    if (toolkitHandler) toolkitHandler(type, context, message);
}

}  // namespace

void EndAtOnceOnDisplayLoss() {
    toolkitHandler = qInstallMessageHandler(Handle);
}

}  // namespace kelto

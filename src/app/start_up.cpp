#include "app/start_up.h"

#include <QGuiApplication>

#include "window/compositor_loss.h"
#include "window/display_loss.h"

namespace kelto {

void PrepareToolkit() {
    // The animation loop pumps events from inside an event handler; the plain Unix
    // event dispatcher delivers posted events and repaints at any depth, glib's does not.
    qputenv("QT_NO_GLIB", "1");
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Floor);
    EndAtOnceOnDisplayLoss();
    EndAtOnceOnCompositorLoss();
}

int& ToolkitArgc() {
    static int argc = 1;
    return argc;
}

char** ToolkitArgv() {
    static char name[] = "kelto";
    static char* argv[] = {name, nullptr};
    return argv;
}

}  // namespace kelto

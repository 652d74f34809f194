#include "app/start_up.h"

#include <QGuiApplication>

#include "window/screen_check.h"
#include "window/toolkit_failure.h"
#include "window/whole_scale.h"
#include "window/window_hints.h"

namespace kelto {

void PrepareToolkit() {
    // The animation loop pumps events from inside an event handler; the plain Unix
    // event dispatcher delivers posted events and repaints at any depth, glib's does not.
    qputenv("QT_NO_GLIB", "1");
    // With no session bus the toolkit would launch one of its own to look for a screen
    // reader: a daemon that outlives the window and costs the start-up 10 to 100 ms.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Floor);
    UseWholeScaleFactorsOnly();
    EndAtOnceOnToolkitFailure();
}

void CheckToolkitStarted() {
    ToolkitStarted();
    RequireDisplayThatShowsFrames();
}

std::unique_ptr<WaylandFrame> ShowOnDesktop(Form1& window) {
    PrepareForDesktop(window, {Form1::kClientSize, Form1::kClientSize});
    return ShowMainWindow(window);
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

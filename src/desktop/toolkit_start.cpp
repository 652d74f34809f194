#include "desktop/toolkit_start.h"

#include <QGuiApplication>

#include "desktop/screen_check.h"
#include "desktop/toolkit_failure.h"
#include "desktop/whole_scale.h"

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

}  // namespace kelto

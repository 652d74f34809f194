#include "app/start_up.h"

#include <QApplication>
#include <cstdio>
#include <exception>
#include <memory>

#include "window/form1.h"
#include "window/screen_check.h"
#include "window/toolkit_failure.h"
#include "window/wayland_frame.h"
#include "window/whole_scale.h"
#include "window/window_hints.h"

namespace kelto {
namespace {

// What the toolkit must be told before the application object exists.
void PrepareToolkit() {
    // The animation loop pumps events from inside an event handler; the plain Unix
    // event dispatcher delivers posted events and repaints at any depth, glib's does not.
    qputenv("QT_NO_GLIB", "1");
    // With no session bus the toolkit would launch one of its own to look for a screen
    // reader: a daemon that outlives the window and costs the start-up 10 to 100 ms.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    // The window's look is fixed: a sunken box around black and white frames. Following the
    // desktop's theme would only shade the box's edges, and on GNOME-like desktops it loads
    // GTK, which doubled the time to the first frame and added 15 to 60 MB. A theme the user
    // names in QT_QPA_PLATFORMTHEME is still used.
    QGuiApplication::setDesktopSettingsAware(false);
    // On Wayland the program draws its own frame, so the toolkit's frames are never used; yet
    // to learn whether it could draw them, the toolkit's Wayland plugin loads EGL and the
    // display's GL driver, which the software painting here never uses: 45 of 90 MB.
    if (qEnvironmentVariableIsEmpty("QT_WAYLAND_DISABLE_WINDOWDECORATION"))
        qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Floor);
    UseWholeScaleFactorsOnly();
    EndAtOnceOnToolkitFailure();
}

// Right after the application object exists: throws, with a line for the user, when the
// display it reached cannot show the frames.
void CheckToolkitStarted() {
    ToolkitStarted();
    RequireDisplayThatShowsFrames();
}

// With its hints on X11, inside the program's own frame on Wayland (which the result holds).
std::unique_ptr<WaylandFrame> ShowOnDesktop(Form1& window) {
    PrepareForDesktop(window, {Form1::kClientSize, Form1::kClientSize});
    return ShowMainWindow(window);
}

// The program takes no command line: the toolkit sees none either.
int& ToolkitArgc() {
    static int argc = 1;
    return argc;
}

char** ToolkitArgv() {
    static char name[] = "kelto";
    static char* argv[] = {name, nullptr};
    return argv;
}

}  // namespace

int RunViewer(ProgramEnd& end, IdleWaiter& waiter) {
    try {
        PrepareToolkit();
        QApplication application(ToolkitArgc(), ToolkitArgv());
        CheckToolkitStarted();
        Form1 window(end, waiter);
        const auto frame = ShowOnDesktop(window);
        return application.exec();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kelto: error: %s\n", failure.what());
        return 1;
    }
}

}  // namespace kelto

#include <QApplication>
#include <cstdio>
#include <exception>

#include "window/display_loss.h"
#include "window/form1.h"
#include "window/screen_check.h"
#include "window/whole_scale.h"
#include "window/window_hints.h"

int main() {
    try {
        // The program takes no command line: the toolkit sees none either.
        static int argc = 1;
        static char name[] = "kelto";
        static char* argv[] = {name, nullptr};
        // The animation loop pumps events from inside an event handler; the plain Unix
        // event dispatcher delivers posted events and repaints at any depth, glib's does not.
        qputenv("QT_NO_GLIB", "1");
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::Floor);
        kelto::UseWholeScaleFactorsOnly();
        kelto::EndAtOnceOnToolkitFailure();
        QApplication application(argc, argv);
        kelto::ToolkitStarted();
        kelto::RequireDisplayThatShowsFrames();
        kelto::Form1 window;
        kelto::PrepareForDesktop(window, {kelto::Form1::kClientSize, kelto::Form1::kClientSize});
        window.show();
        return application.exec();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kelto: error: %s\n", failure.what());
        return 1;
    }
}

#include <QApplication>
#include <cstdio>
#include <exception>

#include "window/display_loss.h"
#include "window/form1.h"

int main() {
    try {
        // The program takes no command line: the toolkit sees none either.
        static int argc = 1;
        static char name[] = "kelto";
        static char* argv[] = {name, nullptr};
        // The animation loop pumps events from inside an event handler; the plain Unix
        // event dispatcher delivers posted events and repaints at any depth, glib's does not.
        qputenv("QT_NO_GLIB", "1");
        // With no session bus the toolkit would launch one of its own to look for a screen
        // reader: a daemon that outlives the window and costs the start-up 10 to 100 ms.
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::Floor);
        kelto::EndAtOnceOnDisplayLoss();
        QApplication application(argc, argv);
        kelto::Form1 window;
        window.show();
        return application.exec();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kelto: error: %s\n", failure.what());
        return 1;
    }
}

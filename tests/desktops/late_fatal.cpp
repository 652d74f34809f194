// A toolkit that gives up after start: its fatal message must end the process with one line
// and status 1, as at start, not with an abort.
#include <QGuiApplication>
#include <QTimer>

#include "desktop/toolkit_failure.h"

int main(int argc, char** argv) {
    kelto::EndAtOnceOnToolkitFailure();
    QGuiApplication application(argc, argv);
    kelto::ToolkitStarted();
    QTimer::singleShot(0, [] { qFatal("The toolkit gave up\nwith a second line"); });
    return application.exec();
}

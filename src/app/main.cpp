#include <QApplication>
#include <cstdio>
#include <exception>

#include "animation/wait_frame.h"
#include "app/start_up.h"
#include "window/form1.h"
#include "window/program_end_now.h"

int main() {
    try {
        kelto::PrepareToolkit();
        QApplication application(kelto::ToolkitArgc(), kelto::ToolkitArgv());
        kelto::CheckToolkitStarted();
        kelto::ProgramEndNow end;
        kelto::SteadyWaitClock clock;
        kelto::PreciseIdleWaiter waiter(clock);
        kelto::Form1 window(end, waiter);
        const auto frame = kelto::ShowOnDesktop(window);
        return application.exec();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kelto: error: %s\n", failure.what());
        return 1;
    }
}

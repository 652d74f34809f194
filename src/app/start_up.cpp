#include "app/start_up.h"

#include <QApplication>
#include <exception>

#include "desktop/desktop.h"
#include "desktop/error_line.h"
#include "desktop/toolkit_start.h"
#include "window/form1.h"

namespace kelto {
namespace {

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
        Desktop desktop;
        Form1 window(end, waiter, desktop.Frames());
        const auto shown = desktop.Show(window, {Form1::kClientSize, Form1::kClientSize});
        return application.exec();
    } catch (const std::exception& failure) {
        WriteErrorLine(failure.what());
        return 1;
    }
}

}  // namespace kelto

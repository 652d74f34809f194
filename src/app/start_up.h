#pragma once

#include <memory>

#include "window/form1.h"
#include "window/wayland_frame.h"

namespace kelto {

// What the toolkit must be told before the application object exists.
void PrepareToolkit();

// Right after the application object exists: throws, with a line for the user, when the
// display it reached cannot show the frames.
void CheckToolkitStarted();

// Shows the window as the desktop needs it: with its hints on X11, inside the program's own
// frame on Wayland (which the result then holds).
std::unique_ptr<WaylandFrame> ShowOnDesktop(Form1& window);

// The program takes no command line: the toolkit sees none either.
int& ToolkitArgc();
char** ToolkitArgv();

}  // namespace kelto

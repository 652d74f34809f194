#pragma once

#include "animation/wait_frame.h"
#include "input/program_end.h"

namespace kelto {

// Starts the toolkit, shows the window as the desktop needs it and runs it until the program
// ends; end and waiter are the caller's. A failure the user can meet is one "kelto: error:"
// line on stderr and status 1.
int RunViewer(ProgramEnd& end, IdleWaiter& waiter);

}  // namespace kelto

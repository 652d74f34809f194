#pragma once

namespace kelto {

// What the toolkit must be told before the application object exists.
void PrepareToolkit();

// The program takes no command line: the toolkit sees none either.
int& ToolkitArgc();
char** ToolkitArgv();

}  // namespace kelto

#pragma once

#include <string_view>

namespace kelto {

// The one line a failure the user can meet ends with: "kelto: error: WHAT" on stderr, with
// everything written so far flushed. The caller then ends the program with status 1.
void WriteErrorLine(std::string_view what);

}  // namespace kelto

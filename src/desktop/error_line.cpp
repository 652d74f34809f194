#include "desktop/error_line.h"

#include <cstdio>
#include <string>

namespace kelto {

void WriteErrorLine(std::string_view what) {
    // One write, so that nothing another thread prints can land inside the line.
    const std::string line = "kelto: error: " + std::string(what) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(nullptr);
}

}  // namespace kelto

#include "window/program_end_now.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kelto {

void ProgramEndNow::Quit() {
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

void ProgramEndNow::Fail(std::string_view message) {
    const std::string line = "kelto: error: " + std::string(message) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

}  // namespace kelto

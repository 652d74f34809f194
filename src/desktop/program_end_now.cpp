#include "desktop/program_end_now.h"

#include <cstdio>
#include <cstdlib>

#include "desktop/error_line.h"

namespace kelto {

void ProgramEndNow::Quit() {
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

void ProgramEndNow::Fail(std::string_view message) {
    WriteErrorLine(message);
    std::_Exit(EXIT_FAILURE);
}

}  // namespace kelto

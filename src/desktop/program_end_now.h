#pragma once

#include "input/program_end.h"

namespace kelto {

// Ends the process on the spot: no further pass or handler runs and nothing is unwound,
// since the loop's frames stay on the stack for the life of the process.
class ProgramEndNow final : public ProgramEnd {
  public:
    [[noreturn]] void Quit() override;
    [[noreturn]] void Fail(std::string_view message) override;
};

}  // namespace kelto

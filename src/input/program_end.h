#pragma once

#include <string_view>

namespace kelto {

// Ends the process at once, from inside the handler that asks for it.
class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    // The user quits: exit status 0.
    virtual void Quit() = 0;
    // An unexpected failure: one line on stderr and a non-zero status.
    virtual void Fail(std::string_view message) = 0;
};

}  // namespace kelto

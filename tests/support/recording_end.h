#pragma once

#include <string>
#include <vector>

#include "input/program_end.h"

namespace kelto::testing {

// Stands in for ending the process, so a test can see that it was asked for.
class RecordingEnd final : public ProgramEnd {
  public:
    void Quit() override { ++quits; }
    void Fail(std::string_view message) override { failures.emplace_back(message); }
    int quits = 0;
    std::vector<std::string> failures;
};

}  // namespace kelto::testing

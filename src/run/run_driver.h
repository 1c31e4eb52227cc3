// One run of the program, start to end.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace tallyhawk {

// Runs the program with `args` (without the program name) and returns the
// exit code: 0 after a complete run, 1 after a fatal error.
int RunTallyhawk(const std::vector<std::string>& args, Platform& platform);

}  // namespace tallyhawk

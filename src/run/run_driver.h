// One run of the program, start to end.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "run/command_line.h"

namespace tallyhawk {

// Runs the program with `args` (without the program name) and returns the
// exit code: 0 after a complete run, 1 after a fatal error.
int RunTallyhawk(const std::vector<std::string>& args, Platform& platform);

// The run that RunTallyhawk makes once the command line is read.
int RunWithOptions(const RunOptions& options, Platform& platform);

}  // namespace tallyhawk

// --check: what a run would meet, found without writing anything.
#pragma once

#include "platform/platform.h"
#include "run/command_line.h"

namespace tallyhawk {

// Reads the settings file, the zone map and the databases as a run with
// `options` would, writes nothing (no template, log or report), and prints
// on standard output every warning a run would give, everything that would
// stop it, each database's record count, the score IDs and where the
// reports would go. Returns 0 when a run would succeed with nothing to warn
// of, 2 when it would succeed with warnings, 1 when it would fail.
int CheckRun(const RunOptions& options, Platform& platform);

}  // namespace tallyhawk

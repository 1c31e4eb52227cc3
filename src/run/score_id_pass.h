// The pass of one score ID: the one place that runs each statistic and hands
// its list to the writers, in the order the console and the files show.
#pragma once

#include <cstdint>
#include <string>

#include "run/run_context.h"

namespace tallyhawk {

// Prints the "SCORE ID" block, then computes and writes the pilot lists and
// the squad lists of `score_id`, whose output directory is `score_id_dir`.
void RunScoreIdPass(RunContext& context, uint32_t score_id,
                    const std::string& score_id_dir);

}  // namespace tallyhawk

// The zone-wide usage figures over every record of the three tables.
#pragma once

#include <cstdint>

#include "config/settings.h"
#include "db/databases.h"
#include "util/progress.h"

namespace tallyhawk {

struct UsageTotals {
  uint64_t players = 0;
  uint64_t active = 0;       // LastSeen at or after the cut-off
  uint64_t new_players = 0;  // Created at or after the cut-off
  uint64_t squads = 0;
  uint64_t kills = 0;  // exact: the sum of every row's Wins
  double kill_points = 0;
  double flag_points = 0;
  uint32_t cut_off = 0;
};

// now - last_days days, clamped to the range of a 32-bit time instead of
// wrapping: a window longer than the epoch counts every user.
uint32_t UsageCutOff(int64_t now, int32_t last_days);

// The progress dots of one pass over a table of `slot_count` slots: a
// counter grows by 33 per slot, and a dot marks each of the percentages 10,
// 20 and 30 of counter / slot_count that the walk reaches.
int UsagePassDots(uint64_t slot_count);

// Runs the passes over the tables that the [Usage] settings need, with their
// progress dots.
UsageTotals CompileUsageStats(const Databases& databases,
                              const UsageSettings& usage, int64_t now,
                              ProgressSink& progress);

}  // namespace tallyhawk

// The eight squad lists. Each filter ranks the squads of the squad table by
// their figures for one score ID.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "config/settings.h"
#include "db/databases.h"
#include "stats/squad_stats.h"
#include "stats/top_list.h"
#include "util/progress.h"

namespace tallyhawk {

// What a squad filter reads.
struct SquadRows {
  const SquadTableType& squads;
  // The figures of each squad, by its position in `squads`.
  const std::vector<SquadStats>& stats;
  uint32_t TopX;
  uint32_t MinKills;
  uint32_t MinMembers;
};

using SquadFilter = TopList (*)(const SquadRows&, ProgressSink&);

TopList FilterSquadTotalPoints(const SquadRows& rows, ProgressSink& progress);
TopList FilterSquadAvgPoints(const SquadRows& rows, ProgressSink& progress);
TopList FilterSquadAvgKill(const SquadRows& rows, ProgressSink& progress);
TopList FilterSquadWins(const SquadRows& rows, ProgressSink& progress);
TopList FilterSquadLosses(const SquadRows& rows, ProgressSink& progress);
TopList FilterSquadRatio(const SquadRows& rows, ProgressSink& progress);
TopList FilterSquadRating(const SquadRows& rows, ProgressSink& progress);
TopList FilterSquadMembers(const SquadRows& rows, ProgressSink& progress);

struct SquadList {
  bool SquadSettings::*flag;  // the [Squad] key that switches it on
  SquadFilter filter;
  std::string_view message;     // printed before the filter's dots
  std::string_view ListName;    // names its text file and page
  std::string_view GroupTitle;  // its section of the grouped page
};

// In the order the lists are computed and written.
inline constexpr std::array<SquadList, 8> kSquadLists = {{
    {&SquadSettings::DoTotalPoints, FilterSquadTotalPoints,
     "Filtering squad total points .", "SqTotPts", "Total Points"},
    {&SquadSettings::DoAvgPoints, FilterSquadAvgPoints,
     "Filtering squad average points .", "SqAvgPts", "Average Points"},
    {&SquadSettings::DoAvgKill, FilterSquadAvgKill,
     "Filtering squad average kill .", "SqAvgKill", "Average Kill"},
    {&SquadSettings::DoWins, FilterSquadWins, "Filtering squad wins .",
     "SqWins", "Wins"},
    {&SquadSettings::DoLosses, FilterSquadLosses, "Filtering squad losses .",
     "SqLosses", "Losses"},
    {&SquadSettings::DoRatio, FilterSquadRatio, "Filtering squad ratio .",
     "SqRatio", "Ratio"},
    {&SquadSettings::DoRating, FilterSquadRating, "Filtering squad rating .",
     "SqRating", "Rating"},
    {&SquadSettings::DoMembers, FilterSquadMembers, "Filtering squad members .",
     "SqMembers", "Members"},
}};

}  // namespace tallyhawk

// The eight pilot lists. Each filter ranks the score rows of one score ID by
// its statistic; every row makes its own entry.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "config/settings.h"
#include "db/databases.h"
#include "stats/top_list.h"
#include "util/progress.h"

namespace tallyhawk {

// What a pilot filter reads.
struct PilotRows {
  // The rows of one score ID whose user is loaded, in ascending slot order.
  ScoreRows rows;
  // SlotCount of the whole score table: the progress dots count the rows'
  // slots against it.
  uint64_t score_slots;
  // The tables the rows' users and their squads are in, for the names.
  const UserTableType& users;
  const SquadTableType& squads;
  uint32_t TopX;
  uint32_t MinKills;
};

using PilotFilter = TopList (*)(const PilotRows&, ProgressSink&);

TopList FilterPilotTotalPoints(const PilotRows& rows, ProgressSink& progress);
TopList FilterPilotFlagPoints(const PilotRows& rows, ProgressSink& progress);
TopList FilterPilotKillPoints(const PilotRows& rows, ProgressSink& progress);
TopList FilterPilotAvgKill(const PilotRows& rows, ProgressSink& progress);
TopList FilterPilotWins(const PilotRows& rows, ProgressSink& progress);
TopList FilterPilotLosses(const PilotRows& rows, ProgressSink& progress);
TopList FilterPilotRatio(const PilotRows& rows, ProgressSink& progress);
TopList FilterPilotRating(const PilotRows& rows, ProgressSink& progress);

struct PilotList {
  bool UserSettings::*flag;  // the [User] key that switches it on
  PilotFilter filter;
  std::string_view message;     // printed before the filter's dots
  std::string_view ListName;    // names its text file and page
  std::string_view GroupTitle;  // its section of the grouped page
};

// In the order the lists are computed and written.
inline constexpr std::array<PilotList, 8> kPilotLists = {{
    {&UserSettings::DoTotalPoints, FilterPilotTotalPoints,
     "Filtering pilot total points .", "TotPts", "Total Points"},
    {&UserSettings::DoFlagPoints, FilterPilotFlagPoints,
     "Filtering pilot flag points .", "FlagPts", "Flag Points"},
    {&UserSettings::DoKillPoints, FilterPilotKillPoints,
     "Filtering pilot kill points .", "KillPts", "Kill Points"},
    {&UserSettings::DoAvgKill, FilterPilotAvgKill,
     "Filtering pilot avg kill points .", "AvgKill", "Average Kill"},
    {&UserSettings::DoWins, FilterPilotWins, "Filtering pilot wins .", "Wins",
     "Wins"},
    {&UserSettings::DoLosses, FilterPilotLosses, "Filtering pilot losses .",
     "Losses", "Losses"},
    {&UserSettings::DoRatio, FilterPilotRatio, "Filtering pilot ratio .",
     "Ratio", "Ratio"},
    {&UserSettings::DoRating, FilterPilotRating, "Filtering pilot rating .",
     "Rating", "Rating"},
}};

}  // namespace tallyhawk

// The eight pilot lists. Each ranks the score rows of one score ID by its
// statistic; every row makes its own entry. One walk over the rows ranks
// them for every list at once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/settings.h"
#include "db/databases.h"
#include "stats/ranked_selection.h"
#include "stats/top_list.h"
#include "util/progress.h"

namespace tallyhawk {

// What a pilot filter reads.
struct PilotRows {
  // The rows of one score ID whose user is loaded, in ascending slot order.
  const ScoreRows& rows;
  // SlotCount of the whole score table: the progress dots count the rows'
  // slots against it.
  uint64_t score_slots;
  // The tables the rows' users and their squads are in, for the names.
  const UserTableType& users;
  const SquadTableType& squads;
  uint32_t TopX;
  uint32_t MinKills;
};

struct PilotList {
  bool UserSettings::*flag;     // the [User] key that switches it on
  std::string_view message;     // printed before the filter's dots
  std::string_view ListName;    // names its text file and page
  std::string_view GroupTitle;  // its section of the grouped page
};

// In the order the lists are computed and written. Each list's rule is in
// pilot_filters.cpp, in the same order.
inline constexpr std::array<PilotList, 8> kPilotLists = {{
    {&UserSettings::DoTotalPoints, "Filtering pilot total points .", "TotPts",
     "Total Points"},
    {&UserSettings::DoFlagPoints, "Filtering pilot flag points .", "FlagPts",
     "Flag Points"},
    {&UserSettings::DoKillPoints, "Filtering pilot kill points .", "KillPts",
     "Kill Points"},
    {&UserSettings::DoAvgKill, "Filtering pilot avg kill points .", "AvgKill",
     "Average Kill"},
    {&UserSettings::DoWins, "Filtering pilot wins .", "Wins", "Wins"},
    {&UserSettings::DoLosses, "Filtering pilot losses .", "Losses", "Losses"},
    {&UserSettings::DoRatio, "Filtering pilot ratio .", "Ratio", "Ratio"},
    {&UserSettings::DoRating, "Filtering pilot rating .", "Rating", "Rating"},
}};

// Which lists, by their place in kPilotLists.
using PilotListsOn = std::array<bool, kPilotLists.size()>;

// Ranks the rows for every list that `on` names, in one walk over them; a
// list that is off stays empty.
std::array<RankedRows, kPilotLists.size()> RankPilotLists(
    const PilotRows& rows, const PilotListsOn& on);

// List `list` (its place in kPilotLists) as ranked: its entries, with the
// names and value texts of its rows.
TopList MakePilotList(const PilotRows& rows, size_t list,
                      const RankedRows& ranked);

// List `list` alone, its dots printed to `progress`.
TopList FilterPilotList(const PilotRows& rows, size_t list,
                        ProgressSink& progress);

}  // namespace tallyhawk

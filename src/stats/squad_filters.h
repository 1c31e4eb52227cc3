// The eight squad lists. Each ranks the squads of the squad table by their
// figures for one score ID. One walk over the squads ranks them for every
// list at once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "config/settings.h"
#include "db/databases.h"
#include "stats/ranked_selection.h"
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

struct SquadList {
  bool SquadSettings::*flag;    // the [Squad] key that switches it on
  std::string_view message;     // printed before the filter's dots
  std::string_view ListName;    // names its text file and page
  std::string_view GroupTitle;  // its section of the grouped page
};

// In the order the lists are computed and written. Each list's rule is in
// squad_filters.cpp, in the same order.
inline constexpr std::array<SquadList, 8> kSquadLists = {{
    {&SquadSettings::DoTotalPoints, "Filtering squad total points .",
     "SqTotPts", "Total Points"},
    {&SquadSettings::DoAvgPoints, "Filtering squad average points .",
     "SqAvgPts", "Average Points"},
    {&SquadSettings::DoAvgKill, "Filtering squad average kill .", "SqAvgKill",
     "Average Kill"},
    {&SquadSettings::DoWins, "Filtering squad wins .", "SqWins", "Wins"},
    {&SquadSettings::DoLosses, "Filtering squad losses .", "SqLosses",
     "Losses"},
    {&SquadSettings::DoRatio, "Filtering squad ratio .", "SqRatio", "Ratio"},
    {&SquadSettings::DoRating, "Filtering squad rating .", "SqRating",
     "Rating"},
    {&SquadSettings::DoMembers, "Filtering squad members .", "SqMembers",
     "Members"},
}};

// Which lists, by their place in kSquadLists.
using SquadListsOn = std::array<bool, kSquadLists.size()>;

// Ranks the squads for every list that `on` names, in one walk over them; a
// list that is off stays empty.
std::array<RankedRows, kSquadLists.size()> RankSquadLists(
    const SquadRows& rows, const SquadListsOn& on);

// List `list` (its place in kSquadLists) as ranked: its entries, with the
// names and value texts of its squads.
TopList MakeSquadList(const SquadRows& rows, size_t list,
                      const RankedRows& ranked);

// List `list` alone, its dots printed to `progress`.
TopList FilterSquadList(const SquadRows& rows, size_t list,
                        ProgressSink& progress);

}  // namespace tallyhawk

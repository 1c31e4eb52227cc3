// The figures the pages of pilots and squads show for each score ID: a
// pilot's score rows, a squad's sums over its members' rows. The lists
// hold the ranks; these come from one walk over the score rows of the run's
// score IDs, which only the subjects' rows stop.
#pragma once

#include <cstdint>
#include <vector>

#include "db/databases.h"
#include "site/site_subjects.h"
#include "stats/squad_membership.h"
#include "stats/squad_stats.h"

namespace tallyhawk {

// A score row of a pilot, of the score ID at place `score` in the run.
struct PilotRowFigures {
  uint32_t score;
  uint16_t Wins;
  uint16_t Losses;
  uint32_t KillPoints;
  uint32_t FlagPoints;
};

// A squad's figures in the score ID at place `score`, where at least one of
// its members has a row.
struct SquadScoreFigures {
  uint32_t score;
  SquadStats stats;
};

struct SubjectFigures {
  // By the subject's place in SiteSubjects::pilots and ::squads.
  std::vector<std::vector<PilotRowFigures>> pilots;
  std::vector<std::vector<SquadScoreFigures>> squads;
  // The members of each squad that have pages: places in
  // SiteSubjects::pilots, ascending.
  std::vector<std::vector<uint32_t>> members;
  // How many members each squad has, listed or not.
  std::vector<uint32_t> member_counts;
};

// The figures of `subjects` in the score IDs `score_ids` (in the run's
// order). `membership` is the run's squad membership.
SubjectFigures GatherFigures(const std::vector<uint32_t>& score_ids,
                             const Databases& databases,
                             const SquadMembership& membership,
                             const SiteSubjects& subjects);

}  // namespace tallyhawk

// Who gets a page: every pilot of a pilot list, every squad of a squad list
// and the squad of every such pilot; and where each of them is listed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "db/databases.h"
#include "site/site_collector.h"

namespace tallyhawk {

// A place in a list: list `list` of score ID `score` (their places in the
// collector), at rank `rank` (from 1).
struct SubjectRank {
  uint32_t score;
  uint32_t list;
  uint32_t rank;
};

struct SiteSubjects {
  static constexpr size_t kNone = SIZE_MAX;

  // Ascending IDs.
  std::vector<uint32_t> pilots;  // UserIDs
  std::vector<uint32_t> squads;  // SquadIDs of loaded squads
  // The places of each subject, by its place in `pilots` or `squads`, in the
  // order of the score IDs and their lists.
  std::vector<std::vector<SubjectRank>> pilot_ranks;
  std::vector<std::vector<SubjectRank>> squad_ranks;

  // The place of an ID in `pilots` or `squads`, or kNone.
  size_t PilotIndex(uint32_t user_id) const;
  size_t SquadIndex(uint32_t squad_id) const;
};

SiteSubjects FindSubjects(const std::vector<ScoreIdSite>& score_ids,
                          const UserTableType& users,
                          const SquadTableType& squads);

}  // namespace tallyhawk

#include "site/site_subjects.h"

#include <algorithm>

namespace tallyhawk {
namespace {

void SortUnique(std::vector<uint32_t>& ids) {
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
}

size_t IndexIn(const std::vector<uint32_t>& ids, uint32_t id) {
  const auto found = std::lower_bound(ids.begin(), ids.end(), id);
  if (found == ids.end() || *found != id) return SiteSubjects::kNone;
  return static_cast<size_t>(found - ids.begin());
}

}  // namespace

size_t SiteSubjects::PilotIndex(uint32_t user_id) const {
  return IndexIn(pilots, user_id);
}

size_t SiteSubjects::SquadIndex(uint32_t squad_id) const {
  return IndexIn(squads, squad_id);
}

SiteSubjects FindSubjects(const std::vector<ScoreIdSite>& score_ids,
                          const UserTableType& users,
                          const SquadTableType& squads) {
  SiteSubjects subjects;
  for (const ScoreIdSite& score_id : score_ids) {
    for (const SiteList& list : score_id.lists) {
      auto& ids =
          list.kind == PageKind::kPilot ? subjects.pilots : subjects.squads;
      ids.insert(ids.end(), list.ids.begin(), list.ids.end());
    }
  }
  SortUnique(subjects.pilots);
  for (uint32_t user_id : subjects.pilots) {
    const UserRecord* user = users.Lookup(user_id);
    if (user && squads.Find(user->SquadID) != SquadTableType::kNotFound) {
      subjects.squads.push_back(user->SquadID);
    }
  }
  SortUnique(subjects.squads);

  subjects.pilot_ranks.resize(subjects.pilots.size());
  subjects.squad_ranks.resize(subjects.squads.size());
  for (uint32_t score = 0; score < score_ids.size(); ++score) {
    const std::vector<SiteList>& lists = score_ids[score].lists;
    for (uint32_t list = 0; list < lists.size(); ++list) {
      const bool pilot = lists[list].kind == PageKind::kPilot;
      const std::vector<uint32_t>& ids = lists[list].ids;
      for (uint32_t rank = 1; rank <= ids.size(); ++rank) {
        const uint32_t id = ids[rank - 1];
        auto& ranks = pilot ? subjects.pilot_ranks[subjects.PilotIndex(id)]
                            : subjects.squad_ranks[subjects.SquadIndex(id)];
        ranks.push_back({score, list, rank});
      }
    }
  }
  return subjects;
}

}  // namespace tallyhawk

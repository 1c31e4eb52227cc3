#include "stats/squad_membership.h"

#include "util/progress.h"

namespace tallyhawk {

SquadMembership CountSquadMembership(const UserTableType& users,
                                     const SquadTableType& squads) {
  SquadMembership membership;
  membership.members.assign(squads.size(), 0);
  const uint64_t user_slots = users.SlotCount();
  const SquadRecord* first_squad = squads.records().data();
  for (size_t k = 0; k < users.size(); ++k) {
    const SquadRecord* squad = squads.Lookup(users.records()[k].SquadID);
    if (squad == nullptr) continue;
    ++membership.members[static_cast<size_t>(squad - first_squad)];
    // Progress only rises along the walk, and only new multiples of ten can
    // print a dot, so these values are all a replay needs.
    uint64_t progress = ProgressOf(50, users.ids()[k], user_slots);
    if (progress % 10 == 0 && (membership.progress.empty() ||
                               membership.progress.back() != progress)) {
      membership.progress.push_back(progress);
    }
  }
  return membership;
}

}  // namespace tallyhawk

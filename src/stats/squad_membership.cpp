#include "stats/squad_membership.h"

#include "util/progress.h"

namespace tallyhawk {

SquadMembership CountSquadMembership(const UserTableType& users,
                                     const SquadTableType& squads) {
  SquadMembership membership;
  membership.members.assign(squads.size(), 0);
  membership.squad_of_user.assign(users.size(), SquadMembership::kNoSquad);
  SlotProgress walk(50, users.SlotCount());
  for (size_t k = 0; k < users.size(); ++k) {
    const uint32_t squad = squads.Find(users.records()[k].SquadID);
    if (squad == SquadTableType::kNotFound) continue;
    membership.squad_of_user[k] = squad;
    ++membership.members[squad];
    // Progress only rises along the walk, and only new multiples of ten can
    // print a dot, so these values are all a replay needs.
    if (walk.Advance(users.ids()[k]) && walk.value() % 10 == 0) {
      membership.progress.push_back(walk.value());
    }
  }
  return membership;
}

}  // namespace tallyhawk

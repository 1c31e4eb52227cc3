#include "stats/squad_membership.h"

#include "run/run_context.h"
#include "stats/progress_mark.h"

namespace tallyhawk {

void CountSquadMembership(RunContext& context) {
  SquadMembership& membership = context.squad_membership;
  SquadTableType& squads = context.databases.SquadTable;
  if (membership.counted && membership.members.size() == squads.size()) {
    return;
  }
  const UserTableType& users = context.databases.UserTable;
  membership.members.assign(squads.size(), 0);
  membership.progress.clear();
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
  membership.counted = true;
}

}  // namespace tallyhawk

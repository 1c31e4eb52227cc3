// Squad membership, which does not change between score IDs: counted once
// per run and reused by every squad pass.
#pragma once

#include <cstdint>
#include <vector>

#include "db/databases.h"

namespace tallyhawk {

struct SquadMembership {
  // Members of each squad, by the squad's position in the squad table.
  std::vector<uint32_t> members;
  // The progress values (out of 50) that the walk over the user table
  // reaches at its members, keeping only multiples of ten and dropping
  // repeats. Replayed through a ProgressMark they print the walk's dots.
  std::vector<uint64_t> progress;
};

// Counts the members of every squad: the users whose SquadID names it.
SquadMembership CountSquadMembership(const UserTableType& users,
                                     const SquadTableType& squads);

}  // namespace tallyhawk

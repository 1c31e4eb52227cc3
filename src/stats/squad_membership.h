// Squad membership, which does not change between score IDs: counted once
// per run and reused by every squad pass.
#pragma once

#include <cstdint>
#include <vector>

#include "db/databases.h"

namespace tallyhawk {

struct SquadMembership {
  static constexpr uint32_t kNoSquad = UINT32_MAX;
  // Members of each squad, by the squad's position in the squad table.
  std::vector<uint32_t> members;
  // The squad of each user, by the user's position in the user table: the
  // squad's position, or kNoSquad when the user's squad is not loaded.
  std::vector<uint32_t> squad_of_user;
  // The progress values (out of 50) that the walk over the user table
  // reaches at its members, keeping only multiples of ten and dropping
  // repeats. Replayed through a ProgressMark they print the walk's dots.
  std::vector<uint64_t> progress;
};

// Counts the members of every squad: the users whose SquadID names it.
SquadMembership CountSquadMembership(const UserTableType& users,
                                     const SquadTableType& squads);

}  // namespace tallyhawk

// Squad membership, which does not change between score IDs: counted once
// per run and reused by every squad pass.
#pragma once

#include <cstdint>
#include <vector>

namespace tallyhawk {

struct SquadMembership {
  bool counted = false;
  // Members of each squad, by the squad's position in the squad table.
  std::vector<uint32_t> members;
};

}  // namespace tallyhawk

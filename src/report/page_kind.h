// Whether a list or page holds pilots (with a squad column) or squads.
#pragma once

namespace tallyhawk {

enum class PageKind { kPilot, kSquad };

}  // namespace tallyhawk

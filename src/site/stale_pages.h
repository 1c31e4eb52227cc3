// Pages of pilots and squads that are no longer listed: a run removes them,
// so that the site holds no page that nothing links to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tallyhawk {

// Removes from `folder` (ending in a separator) every file named as a page
// of an ID (see PageFileName) that `ids` (ascending) does not hold. Other
// files are left alone. A folder that cannot be listed, or a page that
// cannot be removed, ends the run with `failure`.
void RemoveStalePages(Platform& platform, const std::string& folder,
                      const std::vector<uint32_t>& ids, const char* failure);

}  // namespace tallyhawk

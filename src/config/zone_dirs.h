// The zone directory map (score ID to subdirectory name) and the creation of
// the per-score-ID subdirectories.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tallyhawk {

// Where the output directory of a score ID comes from: the zone map file,
// read afresh on every lookup, and the Directory setting in front.
struct ZoneDirs {
  Platform& platform;
  std::string ZoneInfoFileName;
  std::string Directory;  // empty, or ending in the separator
};

// The directory name that the map text gives `score_id`, or false when no
// entry matches. The first matching entry wins.
bool FindZoneDirName(std::string_view map_text, uint32_t score_id,
                     std::string* name);

// The 8-line template of the map (lines end in "\n").
std::string ZoneInfoTemplateText();

// The name the map gives `score_id`, or the score ID in decimal when it
// gives none. Writes the template when the map file is missing.
std::string ZoneDirName(const ZoneDirs& zone_dirs, uint32_t score_id);

// The output directory of `score_id`: Directory, the mapped name (or the
// score ID in decimal) and a separator; empty (the working directory) for an
// empty name under an empty Directory. Writes the template when the map file
// is missing; a map that exists but cannot be read ends the run.
std::string ResolveScoreIdDir(const ZoneDirs& zone_dirs, uint32_t score_id);

// The output directory of a score ID whose map name is `name`, as
// ResolveScoreIdDir gives it.
std::string ScoreIdDirOf(const std::string& directory, const std::string& name);

// Creates the directory that `path` (ending in a separator, or empty for the
// working directory) names; returns only when it exists afterwards.
void CreateSubdirectory(Platform& platform, const std::string& path);

// Creates the subdirectory of every score ID of `score_ids`.
void CreateScoreIdSubdirectories(const ZoneDirs& zone_dirs,
                                 const std::vector<uint32_t>& score_ids);

}  // namespace tallyhawk

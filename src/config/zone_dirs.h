// The zone directory map (score ID to subdirectory name) and the creation of
// the per-score-ID subdirectories.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tallyhawk {

struct RunContext;

// The directory name that the map text gives `score_id`, or false when no
// entry matches. The first matching entry wins.
bool FindZoneDirName(std::string_view map_text, uint32_t score_id,
                     std::string* name);

// The 8-line template of the map (lines end in "\n").
std::string ZoneInfoTemplateText();

// The output directory of the context's CurrentScoreID: Directory, the mapped
// name (or the score ID in decimal) and a separator. Writes the template when
// the map file is missing.
std::string ResolveScoreIdDir(RunContext& context);

// Creates the directory that `path` (ending in a separator) names; returns
// only when it exists afterwards.
void CreateSubdirectory(RunContext& context, const std::string& path);

// Creates the subdirectory of every listed score ID.
void CreateScoreIdSubdirectories(RunContext& context);

}  // namespace tallyhawk

#include "config/zone_dirs.h"

#include "run/run_context.h"

namespace tallyhawk {

// TODO(config): the zone map.
bool FindZoneDirName(std::string_view, uint32_t, std::string*) { return false; }
std::string ZoneInfoTemplateText() { return ""; }
std::string ResolveScoreIdDir(RunContext& context) {
  return context.settings.Output.Directory +
         std::to_string(context.CurrentScoreID) + PathSeparator();
}
void CreateSubdirectory(RunContext&, const std::string&) {}
void CreateScoreIdSubdirectories(RunContext&) {}

}  // namespace tallyhawk

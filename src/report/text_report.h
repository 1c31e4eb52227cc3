// The per-list text reports.
#pragma once

#include <string_view>

namespace tallyhawk {

struct RunContext;

void WritePilotTextReport(RunContext& context, std::string_view list_name);
void WriteSquadTextReport(RunContext& context, std::string_view list_name);

}  // namespace tallyhawk

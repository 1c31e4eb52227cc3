// The per-list text reports.
#pragma once

#include <string_view>

#include "report/report_frame.h"
#include "stats/top_list.h"

namespace tallyhawk {

// The text file of one list, `list_name` + score ID + ".txt".
void WritePilotTextReport(const ReportScope& scope, const TopList& list,
                          std::string_view list_name);
void WriteSquadTextReport(const ReportScope& scope, const TopList& list,
                          std::string_view list_name);

}  // namespace tallyhawk

// The JSON files, written like the reports: under a temporary name, renamed
// when complete, with one "Writing" line on the console.
#pragma once

#include <cstdint>

#include "report/json_document.h"
#include "report/report_frame.h"
#include "stats/usage_stats.h"

namespace tallyhawk {

// Stats<scoreID>.json in Directory, or Stats.json in the score ID's
// directory with UseSubDir: the path rule of the grouped pages.
// Dated when written.
void WriteStatsJson(const ReportScope& scope, const StatsJson& json);

// Usage.json in Directory, beside Usage.html, dated `now`.
void WriteUsageJson(const ReportScope& scope, const UsageTotals& totals,
                    int64_t now);

}  // namespace tallyhawk

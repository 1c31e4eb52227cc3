// The zone-wide usage figures, written as Usage.txt, Usage.html and
// Usage.json.
#pragma once

#include <cstdint>

#include "report/report_frame.h"
#include "stats/usage_stats.h"

namespace tallyhawk {

// Writes the files the output settings ask for (Usage.txt with Text,
// Usage.html with HTML or HTMLGroup, Usage.json with JSON) in Directory,
// dated `now`.
void WriteUsageReport(const ReportScope& scope, const UsageTotals& totals,
                      int64_t now);

}  // namespace tallyhawk

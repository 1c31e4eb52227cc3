// The zone-wide usage figures, written as Usage.txt, Usage.html and
// Usage.json.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_frame.h"
#include "stats/usage_stats.h"

namespace tallyhawk {

// A figure as the usage reports show it.
struct UsageRow {
  std::string_view name;
  bool since_mark;  // counted within the LastDays window
  std::string text_value;
  std::string html_value;
};

// The figures the settings enable, in the order the reports show them.
std::vector<UsageRow> UsageRows(const UsageSettings& usage,
                                const UsageTotals& totals);

// Writes the files the output settings ask for (Usage.txt with Text,
// Usage.html with HTML or HTMLGroup, Usage.json with JSON) in Directory,
// dated `now`.
void WriteUsageReport(const ReportScope& scope, const UsageTotals& totals,
                      int64_t now);

}  // namespace tallyhawk

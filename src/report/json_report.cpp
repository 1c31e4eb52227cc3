#include "report/json_report.h"

#include <memory>
#include <string>

#include "report/report_file.h"

namespace tallyhawk {
namespace {

void WriteJsonFile(const ReportScope& scope, const std::string& path,
                   const std::string& text) {
  std::unique_ptr<ReportFile> file =
      OpenReport(scope.platform, path, "Unable to open file for JSON output",
                 "Unable to write file for JSON output");
  PrintWritingMessage(scope.status, path, "' ...");
  *file << text;
  scope.status.PrintStatus(" Done\n");
  CommitReport(std::move(file));
}

}  // namespace

void WriteStatsJson(const ReportScope& scope, const StatsJson& json) {
  const int64_t now = scope.platform.Now();
  WriteJsonFile(scope, FormReportPath(scope, "Stats", ".json"),
                json.Text({now, scope.platform.ToLocalTime(now)}));
}

void WriteUsageJson(const ReportScope& scope, const UsageTotals& totals,
                    int64_t now) {
  Platform& platform = scope.platform;
  const std::string text = UsageJsonText(
      scope.settings.Usage, totals, {now, platform.ToLocalTime(now)},
      {totals.cut_off, platform.ToLocalTime(totals.cut_off)});
  WriteJsonFile(scope, scope.settings.Output.Directory + "Usage.json", text);
}

}  // namespace tallyhawk

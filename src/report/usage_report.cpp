#include "report/usage_report.h"

#include <string>
#include <vector>

#include "report/html_report.h"
#include "report/json_report.h"
#include "report/report_file.h"
#include "report/report_frame.h"
#include "util/text_format.h"

namespace tallyhawk {
namespace {

UsageRow CountRow(std::string_view name, uint64_t count,
                  bool since_mark = false) {
  return {name, since_mark, FormatUnsigned(count), FormatUnsigned(count)};
}

UsageRow PointsRow(std::string_view name, double points) {
  return {name, false, FormatGeneral(points), FormatFixed(points, 0)};
}

UsageRow AverageKillRow(const UsageTotals& totals) {
  if (totals.kills == 0) return {"Avg Kill", false, "---", "---"};
  const double average = totals.kill_points / static_cast<double>(totals.kills);
  return {"Avg Kill", false, FormatGeneral(average), FormatFixed(average, 1)};
}

struct UsageReport {
  std::vector<UsageRow> rows;
  int64_t now;
  bool since_line;  // the window rows are shown
  uint32_t cut_off;
};

std::unique_ptr<ReportFile> OpenUsageFile(const ReportScope& scope,
                                          const std::string& path,
                                          const char* open_failure,
                                          const char* write_failure) {
  std::unique_ptr<ReportFile> file =
      OpenReport(scope.platform, path, open_failure, write_failure);
  PrintWritingMessage(scope.status, path, "' ...");
  return file;
}

std::string SinceLine(const ReportScope& scope, const UsageReport& report) {
  return "(*) Since " + DateText(scope.platform.ToLocalTime(report.cut_off));
}

void WriteUsageText(const ReportScope& scope, const UsageReport& report) {
  const std::string path = scope.settings.Output.Directory + "Usage.txt";
  std::unique_ptr<ReportFile> file =
      OpenUsageFile(scope, path, "Unable to open file for text output",
                    "Unable to write file for text output");
  WriteTextReportHeader(scope.platform, *file, path, report.now);
  *file << "\n\n";
  for (const UsageRow& row : report.rows) {
    *file << row.name << ":\t" << row.text_value
          << (row.since_mark ? "\t(*)\n" : "\n");
  }
  *file << "\n\n";
  if (report.since_line) *file << SinceLine(scope, report);
  scope.status.PrintStatus(" Done\n");
  CommitReport(std::move(file));
}

void WriteUsageHtml(const ReportScope& scope, const UsageReport& report) {
  const std::string path = scope.settings.Output.Directory + "Usage.html";
  std::unique_ptr<ReportFile> file =
      OpenUsageFile(scope, path, "Unable to open file for HTML output",
                    "Unable to write file for HTML output");
  WriteHtmlPageHead(*file, scope.settings.Output.StyleSheet);
  *file << "<H1>Usage Statistics</H1>\n";
  WriteCompiledOnLine(scope.platform, *file, report.now);
  *file << "<TABLE BORDER=1>\n";
  for (const UsageRow& row : report.rows) {
    *file << "<TR><TH>" << row.name << (row.since_mark ? " (*)" : "")
          << "</TH><TD>" << row.html_value << "</TD></TR>\n";
  }
  *file << "</TABLE>\n\n\n"
        << "<BR>\n";
  if (report.since_line) *file << SinceLine(scope, report);
  scope.status.PrintStatus(" Done\n");
  if (scope.settings.Output.Footer) {
    WriteHtmlFooter(scope.platform, *file, path, report.now);
  }
  WriteHtmlPageEnd(*file);
  CommitReport(std::move(file));
}

}  // namespace

std::vector<UsageRow> UsageRows(const UsageSettings& usage,
                                const UsageTotals& totals) {
  std::vector<UsageRow> rows;
  if (usage.DoAllPlayers)
    rows.push_back(CountRow("Total Players", totals.players));
  if (usage.DoActivePlayers) {
    rows.push_back(CountRow("Active Players", totals.active, true));
  }
  if (usage.DoNewPlayers) {
    rows.push_back(CountRow("New Players", totals.new_players, true));
  }
  if (usage.DoAllSquads)
    rows.push_back(CountRow("Total Squads", totals.squads));
  if (usage.DoAllPoints) {
    rows.push_back(
        PointsRow("Total Points", totals.flag_points + totals.kill_points));
  }
  if (usage.DoAllKillPoints) {
    rows.push_back(PointsRow("Kill Points", totals.kill_points));
  }
  if (usage.DoAllFlagPoints) {
    rows.push_back(PointsRow("Flag Points", totals.flag_points));
  }
  if (usage.DoAllKills) rows.push_back(CountRow("Total Kills", totals.kills));
  if (usage.DoAvgKill) rows.push_back(AverageKillRow(totals));
  return rows;
}

void WriteUsageReport(const ReportScope& scope, const UsageTotals& totals,
                      int64_t now) {
  const Settings& settings = scope.settings;
  UsageReport report;
  report.now = now;
  report.rows = UsageRows(settings.Usage, totals);
  report.since_line =
      settings.Usage.DoActivePlayers || settings.Usage.DoNewPlayers;
  report.cut_off = totals.cut_off;

  if (settings.Output.Text) WriteUsageText(scope, report);
  if (settings.Output.HTML || settings.Output.HTMLGroup) {
    WriteUsageHtml(scope, report);
  }
  if (settings.Output.JSON) WriteUsageJson(scope, totals, now);
}

}  // namespace tallyhawk

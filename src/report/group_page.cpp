#include "report/group_page.h"

#include <memory>
#include <utility>
#include <vector>

#include "report/html_list_table.h"
#include "report/html_report.h"
#include "report/report_file.h"
#include "report/report_frame.h"
#include "util/text_format.h"

namespace tallyhawk {
namespace {

constexpr char kOpenFailure[] = "Unable to open file for group HTML output";
constexpr char kWriteFailure[] = "Unable to write file for group HTML output";

struct IndexLink {
  bool enabled;
  std::string_view title;  // the anchor the section of the list writes
};

std::string_view BaseName(PageKind kind) {
  return kind == PageKind::kPilot ? "PilotStats" : "SquadStats";
}

// The index in its fixed order, which differs from the order of the sections.
std::vector<IndexLink> GroupIndex(const Settings& settings, PageKind kind) {
  if (kind == PageKind::kPilot) {
    const UserSettings& user = settings.User;
    return {{user.DoTotalPoints, "Total Points"},
            {user.DoKillPoints, "Kill Points"},
            {user.DoFlagPoints, "Flag Points"},
            {user.DoWins, "Wins"},
            {user.DoLosses, "Losses"},
            {user.DoRatio, "Ratio"},
            {user.DoAvgKill, "Average Kill"},
            {user.DoRating, "Rating"}};
  }
  const SquadSettings& squad = settings.Squad;
  return {{squad.DoTotalPoints, "Total Points"},
          {squad.DoAvgPoints, "Average Points"},
          {squad.DoAvgKill, "Average Kill"},
          {squad.DoWins, "Wins"},
          {squad.DoLosses, "Losses"},
          {squad.DoRatio, "Ratio"},
          {squad.DoRating, "Rating"},
          {squad.DoMembers, "Members"}};
}

// The file the page's links name: its own file name, without directory, so
// that the links lead to the page itself whether or not its name carries the
// score ID.
std::string LinkTarget(const ReportScope& scope, PageKind kind) {
  std::string target(BaseName(kind));
  if (!scope.settings.Output.UseSubDir) {
    target += FormatUnsigned(scope.CurrentScoreID);
  }
  return target + ".html";
}

void WriteGroupPageHead(const ReportScope& scope, GroupPage& page) {
  ReportFile& file = *page.file;
  const int64_t now = scope.platform.Now();
  WriteHtmlPageHead(file, scope.settings.Output.StyleSheet);
  file << "<A NAME=\"Top\">\n"
       << (page.kind == PageKind::kPilot ? "<H1>Pilot Statistics</H1>\n"
                                         : "<H1>Squad Statistics</H1>\n");
  WriteCompiledOnLine(scope.platform, file, now);
  const std::string target = LinkTarget(scope, page.kind);
  for (const IndexLink& link : GroupIndex(scope.settings, page.kind)) {
    if (!link.enabled) continue;
    file << "<A HREF=\"" << target << "#" << link.title << "\">" << link.title
         << "</A><BR>\n";
  }
  file << "\n";
}

}  // namespace

GroupPage::~GroupPage() = default;

std::unique_ptr<GroupPage> OpenGroupPage(const ReportScope& scope,
                                         PageKind kind) {
  auto page = std::make_unique<GroupPage>();
  page->kind = kind;
  page->path = FormReportPath(scope, BaseName(kind), ".html");
  page->file =
      OpenReport(scope.platform, page->path, kOpenFailure, kWriteFailure);
  WriteGroupPageHead(scope, *page);
  return page;
}

void WriteGroupSection(const ReportScope& scope, GroupPage& page,
                       const TopList& list, std::string_view group_title) {
  ReportFile& file = *page.file;
  scope.status.line() << "Writing " << group_title << " to group .";
  scope.status.PrintStatusLine();
  file << "<HR>\n"
       << "<A NAME=\"" << group_title << "\">\n"
       << "<H3>Top " << scope.settings.General.TopX << " " << group_title
       << "</H3>\n";
  WriteHtmlListTable(scope.status, file, list, page.kind);
  file << "<A HREF=\"" << LinkTarget(scope, page.kind)
       << "#Top\">Back to top</A>\n";
  scope.status.PrintStatus(" Done\n");
}

void CloseGroupPage(const ReportScope& scope, std::unique_ptr<GroupPage> page) {
  ReportFile& file = *page->file;
  if (scope.settings.Output.Footer) {
    // The close has its own time stamp, not the one of the "Compiled on" line.
    WriteHtmlFooter(scope.platform, file, page->path, scope.platform.Now());
    file << "ScoreID: \t" << scope.CurrentScoreID << "<BR>\n";
  }
  WriteHtmlPageEnd(file);
  CommitReport(std::move(page->file));
}

}  // namespace tallyhawk

#include "report/group_page.h"

#include <memory>
#include <utility>
#include <vector>

#include "report/html_list_table.h"
#include "report/html_report.h"
#include "report/report_file.h"
#include "report/report_frame.h"
#include "run/run_context.h"
#include "run/text_format.h"

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
std::string LinkTarget(const RunContext& context, PageKind kind) {
  std::string target(BaseName(kind));
  if (!context.settings.Output.UseSubDir) {
    target += FormatUnsigned(context.CurrentScoreID);
  }
  return target + ".html";
}

}  // namespace

GroupPage::~GroupPage() = default;

void OpenGroupPage(RunContext& context, PageKind kind) {
  auto page = std::make_unique<GroupPage>();
  page->path = FormReportPath(context, BaseName(kind), ".html");
  page->file = OpenReport(context, page->path, kOpenFailure, kWriteFailure);
  context.group_page = std::move(page);
  WriteGroupPageHead(context, kind);
}

void WriteGroupPageHead(RunContext& context, PageKind kind) {
  if (!context.group_page) return;
  ReportFile& file = *context.group_page->file;
  const int64_t now = context.platform.Now();
  WriteHtmlPageHead(context, file);
  file << "<A NAME=\"Top\">\n"
       << (kind == PageKind::kPilot ? "<H1>Pilot Statistics</H1>\n"
                                    : "<H1>Squad Statistics</H1>\n");
  WriteCompiledOnLine(context, file, now);
  const std::string target = LinkTarget(context, kind);
  for (const IndexLink& link : GroupIndex(context.settings, kind)) {
    if (!link.enabled) continue;
    file << "<A HREF=\"" << target << "#" << link.title << "\">" << link.title
         << "</A><BR>\n";
  }
  file << "\n";
}

void WriteGroupSection(RunContext& context, PageKind kind,
                       std::string_view group_title) {
  if (!context.group_page) return;
  ReportFile& file = *context.group_page->file;
  context.Line() << "Writing " << group_title << " to group .";
  context.PrintStatusLine();
  file << "<HR>\n"
       << "<A NAME=\"" << group_title << "\">\n"
       << "<H3>Top " << context.settings.General.TopX << " " << group_title
       << "</H3>\n";
  WriteHtmlListTable(context, file, kind);
  file << "<A HREF=\"" << LinkTarget(context, kind)
       << "#Top\">Back to top</A>\n";
  context.PrintStatus(" Done\n");
}

void CloseGroupPage(RunContext& context, PageKind) {
  // Taken out of the run first, so that a failed commit leaves no page
  // behind as open.
  std::unique_ptr<GroupPage> page = std::move(context.group_page);
  if (!page) return;
  ReportFile& file = *page->file;
  if (context.settings.Output.Footer) {
    // The close has its own time stamp, not the one of the "Compiled on" line.
    WriteHtmlFooter(context, file, page->path, context.platform.Now());
    file << "ScoreID: \t" << context.CurrentScoreID << "<BR>\n";
  }
  WriteHtmlPageEnd(file);
  CommitReport(std::move(page->file));
}

}  // namespace tallyhawk

#include "report/html_report.h"

#include <utility>

#include "report/html_list_table.h"
#include "report/report_file.h"
#include "report/report_frame.h"
#include "util/text_format.h"

namespace tallyhawk {
namespace {

constexpr char kOpenFailure[] = "Unable to open file for HTML output";
constexpr char kWriteFailure[] = "Unable to write file for HTML output";

using TitleEntry = std::pair<std::string_view, std::string_view>;

constexpr TitleEntry kPilotTitles[] = {
    {"TotPts", "Total Points"},  {"FlagPts", "Flag Points"},
    {"KillPts", "Kill Points"},  {"AvgKill", "Average Kill"},
    {"Wins", "Most Wins"},       {"Losses", "Most Losses"},
    {"Ratio", "Win:Loss Ratio"}, {"Rating", "Best Rating"},
};

constexpr TitleEntry kSquadTitles[] = {
    {"SqTotPts", "Total Points"},  {"SqAvgPts", "Average Points"},
    {"SqAvgKill", "Average Kill"}, {"SqWins", "Most Wins"},
    {"SqLosses", "Most Losses"},   {"SqRatio", "Win:Loss Ratio"},
    {"SqRating", "Best Rating"},   {"SqMembers", "Members"},
};

// The heading under "<H1>" for a list; empty for a name the kind does not
// know, which then gets no title line.
std::string_view ListTitle(PageKind kind, std::string_view list_name) {
  const auto& titles = kind == PageKind::kPilot ? kPilotTitles : kSquadTitles;
  for (const auto& [name, title] : titles) {
    if (name == list_name) return title;
  }
  return {};
}

void WriteHtmlReport(const ReportScope& scope, const TopList& list,
                     std::string_view list_name, PageKind kind) {
  const std::string path = FormReportPath(scope, list_name, ".html");
  // One time stamp for the "Compiled on" line and the footer.
  const int64_t now = scope.platform.Now();
  std::unique_ptr<ReportFile> file =
      OpenReport(scope.platform, path, kOpenFailure, kWriteFailure);
  PrintWritingMessage(scope.status, path, "' .");

  const uint32_t top_x = scope.settings.General.TopX;
  WriteHtmlPageHead(*file, scope.settings.Output.StyleSheet);
  *file << "<H1>Top " << top_x << "</H1>\n";
  std::string_view title = ListTitle(kind, list_name);
  if (!title.empty()) *file << "<H2>" << title << "</H2><BR>\n";
  WriteCompiledOnLine(scope.platform, *file, now);
  WriteHtmlListTable(scope.status, *file, list, kind);
  scope.status.PrintStatus(" Done\n");

  if (scope.settings.Output.Footer) {
    WriteHtmlFooter(scope.platform, *file, path, now);
    *file << "ScoreID: \t" << scope.CurrentScoreID << "<BR>\n"
          << "Top list:\t" << top_x << " (" << list.Count() << ")<BR>\n"
          << "<BR>\n";
  }
  WriteHtmlPageEnd(*file);
  CommitReport(std::move(file));
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  // Most texts have nothing to escape: the bytes between the ones that are
  // escaped go over a run at a time.
  size_t run = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    std::string_view entity;
    switch (text[i]) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      case '"':
        entity = "&quot;";
        break;
      default:
        continue;
    }
    escaped.append(text.substr(run, i - run));
    escaped.append(entity);
    run = i + 1;
  }
  escaped.append(text.substr(run));
  return escaped;
}

void WriteHtmlPageHead(ReportFile& file, const std::string& style_sheet) {
  file << "<HTML>\n"
       << "\n"
       << "<HEAD>\n"
       << "\t<TITLE>Tallyhawk Results</TITLE>\n";
  if (!style_sheet.empty()) {
    file << "\t<LINK REL=STYLESHEET TYPE=\"text/css\" HREF=\"";
    file.Verbatim(EscapeHtml(style_sheet)) << "\">\n";
  }
  file << "</HEAD>\n"
       << "\n"
       << "<BODY>\n";
}

void WriteCompiledOnLine(Platform& platform, ReportFile& file, int64_t time) {
  file << "Compiled on " << DateText(platform.ToLocalTime(time)) << "<BR><BR>\n"
       << "\n";
}

void WriteHtmlFooter(Platform& platform, ReportFile& file,
                     const std::string& path, int64_t time) {
  file << "<P>\n"
       << "<HR>\n"
       << "<FONT SIZE=-2>\n"
       << ReportBanner() << "<BR>\n"
       << "by Brannoch<BR>\n"
       << "<BR>\n"
       << "OutFile:\t";
  file.Verbatim(EscapeHtml(path))
      << "<BR>\n"
      << "Run Date: \t" << DateText(platform.ToLocalTime(time)) << "<BR>\n";
}

void WriteHtmlPageEnd(ReportFile& file) {
  file << "</BODY>\n"
       << "</HTML>\n";
}

void WritePilotHtmlReport(const ReportScope& scope, const TopList& list,
                          std::string_view list_name) {
  WriteHtmlReport(scope, list, list_name, PageKind::kPilot);
}

void WriteSquadHtmlReport(const ReportScope& scope, const TopList& list,
                          std::string_view list_name) {
  WriteHtmlReport(scope, list, list_name, PageKind::kSquad);
}

}  // namespace tallyhawk

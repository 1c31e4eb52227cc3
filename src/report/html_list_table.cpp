#include "report/html_list_table.h"

#include "report/html_report.h"
#include "report/report_file.h"
#include "report/report_frame.h"

namespace tallyhawk {
namespace {

void WriteCell(ReportFile& file, std::string_view text) {
  file << "<TD>";
  file.Verbatim(EscapeHtml(text)) << "</TD>";
}

}  // namespace

void WriteHtmlListTable(ProgressSink& progress, ReportFile& file,
                        const TopList& list, PageKind kind) {
  const bool pilot = kind == PageKind::kPilot;
  file << "<TABLE BORDER=1>\n"
       << (pilot ? "<TR><TH>RANK</TH><TH>NAME</TH><TH>SQUAD</TH><TH>VALUE</TH>"
                   "</TR>\n"
                 : "<TR><TH>RANK</TH><TH>NAME</TH><TH>VALUE</TH></TR>\n");
  uint32_t rank = 0;
  for (const TopEntry& entry : list.entries()) {
    file << "<TR><TD>" << ++rank << "</TD>";
    WriteCell(file, entry.Name);
    if (pilot) WriteCell(file, entry.SquadName);
    WriteCell(file, entry.ValueText);
    file << "</TR>\n";
    ProgressDots(progress, rank, list.Count());
  }
  file << "</TABLE>\n\n";
}

}  // namespace tallyhawk

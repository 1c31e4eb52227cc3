#include "report/html_report.h"

#include "report/report_file.h"
#include "run/run_context.h"

namespace tallyhawk {

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c; break;
    }
  }
  return escaped;
}

// TODO(report)
void WriteHtmlPageHead(RunContext&, ReportFile&) {}
void WriteCompiledOnLine(RunContext&, ReportFile&, int64_t) {}
void WriteHtmlFooter(RunContext&, ReportFile&, const std::string&, int64_t) {}
void WriteHtmlPageEnd(ReportFile&) {}
void WritePilotHtmlReport(RunContext&, std::string_view) {}
void WriteSquadHtmlReport(RunContext&, std::string_view) {}

}  // namespace tallyhawk

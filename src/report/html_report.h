// The frame shared by every HTML page, and the per-list HTML pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tallyhawk {

struct RunContext;
class ReportFile;

// & < > " as entities; every other byte as it is.
std::string EscapeHtml(std::string_view text);

void WriteHtmlPageHead(RunContext& context, ReportFile& file);
void WriteCompiledOnLine(RunContext& context, ReportFile& file, int64_t time);
void WriteHtmlFooter(RunContext& context, ReportFile& file,
                     const std::string& path, int64_t time);
void WriteHtmlPageEnd(ReportFile& file);

void WritePilotHtmlReport(RunContext& context, std::string_view list_name);
void WriteSquadHtmlReport(RunContext& context, std::string_view list_name);

}  // namespace tallyhawk

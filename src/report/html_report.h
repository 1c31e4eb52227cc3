// The frame shared by every HTML page, and the per-list HTML pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "report/report_frame.h"
#include "stats/top_list.h"

namespace tallyhawk {

class ReportFile;

// & < > " as entities; every other byte as it is.
std::string EscapeHtml(std::string_view text);

// Up to "<BODY>", with a link to `style_sheet` when it is not empty.
void WriteHtmlPageHead(ReportFile& file, const std::string& style_sheet);
void WriteCompiledOnLine(Platform& platform, ReportFile& file, int64_t time);
void WriteHtmlFooter(Platform& platform, ReportFile& file,
                     const std::string& path, int64_t time);
void WriteHtmlPageEnd(ReportFile& file);

// The page of one list, `list_name` + score ID + ".html".
void WritePilotHtmlReport(const ReportScope& scope, const TopList& list,
                          std::string_view list_name);
void WriteSquadHtmlReport(const ReportScope& scope, const TopList& list,
                          std::string_view list_name);

}  // namespace tallyhawk

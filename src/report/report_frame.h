// What every report shares: report paths, the banner, the common text header
// and the console progress dots of the list writers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tallyhawk {

struct RunContext;
class ReportFile;

// "****** T A L L Y  H A W K  v0.2 ******"
std::string ReportBanner();

// With UseSubDir: ScoreIdDir + base + extension; otherwise Directory + base +
// CurrentScoreID + extension. Never cut.
std::string FormReportPath(RunContext& context, std::string_view base_name,
                           std::string_view extension);

// Banner, "by Brannoch", an empty line, "OutFile:" and "Run Date:" lines.
void WriteTextReportHeader(RunContext& context, ReportFile& file,
                           const std::string& path, int64_t time);

// "Writing '", the path and `ending` ("' ." or "' ...") on the console and in
// the log, the line left open for the dots and " Done" that follow.
void PrintWritingMessage(RunContext& context, const std::string& path,
                         std::string_view ending);

// After the row of rank `rank` of a list of `count` rows: a dot when the
// percentage reached is a multiple of 10.
void ProgressDots(RunContext& context, uint32_t rank, uint32_t count);

// Opens a report for the writers, ending the run with `open_failure` when it
// cannot be created; any part of it that cannot be written later ends the
// run with `write_failure`.
std::unique_ptr<ReportFile> OpenReport(RunContext& context,
                                       const std::string& path,
                                       const char* open_failure,
                                       const char* write_failure);

// Completes a report and releases it.
void CommitReport(std::unique_ptr<ReportFile> file);

}  // namespace tallyhawk

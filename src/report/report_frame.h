// What every report shares: the scope a writer works in, report paths, the
// banner, the common text header and the console progress dots of the list
// writers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "config/settings.h"
#include "platform/platform.h"
#include "util/progress.h"
#include "util/status_output.h"

namespace tallyhawk {

class ReportFile;

// What a report writer needs of the run: the system, the console, the
// settings, and the score ID whose lists it writes (unused by the usage
// report).
struct ReportScope {
  Platform& platform;
  StatusOutput& status;
  const Settings& settings;
  uint32_t CurrentScoreID = 0;
  std::string ScoreIdDir;  // the score ID's directory, used with UseSubDir
};

// "****** T A L L Y  H A W K  v0.2 ******"
std::string ReportBanner();

// With UseSubDir: ScoreIdDir + base + extension; otherwise Directory + base +
// CurrentScoreID + extension. Never cut.
std::string FormReportPath(const ReportScope& scope, std::string_view base_name,
                           std::string_view extension);

// Banner, "by Brannoch", an empty line, "OutFile:" and "Run Date:" lines.
void WriteTextReportHeader(Platform& platform, ReportFile& file,
                           const std::string& path, int64_t time);

// "Writing '", the path and `ending` ("' ." or "' ...") on the console and in
// the log, the line left open for the dots and " Done" that follow.
void PrintWritingMessage(StatusOutput& status, const std::string& path,
                         std::string_view ending);

// After the row of rank `rank` of a list of `count` rows: a dot when the
// percentage reached is a multiple of 10.
void ProgressDots(ProgressSink& progress, uint32_t rank, uint32_t count);

// Opens a report for the writers, ending the run with `open_failure` when it
// cannot be created; any part of it that cannot be written later ends the
// run with `write_failure`.
std::unique_ptr<ReportFile> OpenReport(Platform& platform,
                                       const std::string& path,
                                       const char* open_failure,
                                       const char* write_failure);

// Completes a report and releases it.
void CommitReport(std::unique_ptr<ReportFile> file);

}  // namespace tallyhawk

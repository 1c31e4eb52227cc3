#include "report/report_frame.h"

#include "report/report_file.h"
#include "util/fatal_error.h"
#include "util/text_format.h"
#include "util/version.h"

namespace tallyhawk {

std::string ReportBanner() {
  return "****** T A L L Y  H A W K  v" + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + " ******";
}

std::string FormReportPath(const ReportScope& scope, std::string_view base_name,
                           std::string_view extension) {
  std::string path;
  if (scope.settings.Output.UseSubDir) {
    path = scope.ScoreIdDir;
    path.append(base_name);
  } else {
    path = scope.settings.Output.Directory;
    path.append(base_name);
    path += FormatUnsigned(scope.CurrentScoreID);
  }
  path.append(extension);
  return path;
}

void WriteTextReportHeader(Platform& platform, ReportFile& file,
                           const std::string& path, int64_t time) {
  file << ReportBanner() << "\n"
       << "by Brannoch\n"
       << "\n"
       << "OutFile:\t";
  file.Verbatim(path) << "\n"
                      << "Run Date: \t" << DateText(platform.ToLocalTime(time));
}

void PrintWritingMessage(StatusOutput& status, const std::string& path,
                         std::string_view ending) {
  // Composed in the StatusLine, so an overlong message is cut like any
  // other; the path in the file itself never is.
  status.line() << "Writing '" << path << ending;
  status.PrintStatusLine();
}

void ProgressDots(ProgressSink& progress, uint32_t rank, uint32_t count) {
  if (count == 0) return;
  uint64_t percent = static_cast<uint64_t>(rank) * 100 / count;
  if (percent % 10 == 0) progress.Dot();
}

std::unique_ptr<ReportFile> OpenReport(Platform& platform,
                                       const std::string& path,
                                       const char* open_failure,
                                       const char* write_failure) {
  std::unique_ptr<ReportFile> file =
      ReportFile::Open(platform, path, write_failure);
  if (!file) throw FileError(open_failure, path, "cannot create the report");
  return file;
}

void CommitReport(std::unique_ptr<ReportFile> file) { file->Commit(); }

}  // namespace tallyhawk

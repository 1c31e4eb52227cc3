#include "report/report_frame.h"

#include "report/report_file.h"
#include "run/fatal_error.h"
#include "run/run_context.h"
#include "run/text_format.h"
#include "run/version.h"

namespace tallyhawk {

std::string ReportBanner() {
  return "****** T A L L Y  H A W K  v" + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + " ******";
}

std::string FormReportPath(RunContext& context, std::string_view base_name,
                           std::string_view extension) {
  std::string path;
  if (context.settings.Output.UseSubDir) {
    path = context.ScoreIdDir;
    path.append(base_name);
  } else {
    path = context.settings.Output.Directory;
    path.append(base_name);
    path += FormatUnsigned(context.CurrentScoreID);
  }
  path.append(extension);
  return path;
}

void WriteTextReportHeader(RunContext& context, ReportFile& file,
                           const std::string& path, int64_t time) {
  file << ReportBanner() << "\n"
       << "by Brannoch\n"
       << "\n"
       << "OutFile:\t";
  file.Verbatim(path) << "\n"
                      << "Run Date: \t"
                      << DateText(context.platform.ToLocalTime(time));
}

void PrintWritingMessage(RunContext& context, const std::string& path,
                         std::string_view ending) {
  // Composed in the StatusLine, so an overlong message is cut like any
  // other; the path in the file itself never is.
  context.Line() << "Writing '" << path << ending;
  context.PrintStatusLine();
}

void ProgressDots(RunContext& context, uint32_t rank, uint32_t count) {
  if (count == 0) return;
  uint64_t percent = static_cast<uint64_t>(rank) * 100 / count;
  if (percent % 10 == 0) context.PrintStatus(".");
}

std::unique_ptr<ReportFile> OpenReport(RunContext& context,
                                       const std::string& path,
                                       const char* open_failure,
                                       const char* write_failure) {
  std::unique_ptr<ReportFile> file =
      ReportFile::Open(context.platform, path, write_failure);
  if (!file) throw FatalError(open_failure);
  return file;
}

void CommitReport(std::unique_ptr<ReportFile> file) { file->Commit(); }

}  // namespace tallyhawk

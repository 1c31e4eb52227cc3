#include "report/text_report.h"

#include <string>

#include "report/page_kind.h"
#include "report/report_file.h"
#include "report/report_frame.h"
#include "util/text_format.h"

namespace tallyhawk {
namespace {

constexpr char kOpenFailure[] = "Unable to open file for text output";
constexpr char kWriteFailure[] = "Unable to write file for text output";

constexpr size_t kRankWidth = 5;
constexpr size_t kNameWidth = 25;
constexpr size_t kSquadWidth = 25;
constexpr size_t kPilotValueWidth = 8;
constexpr size_t kSquadValueWidth = 5;

void WriteColumnHeads(ReportFile& file, PageKind kind) {
  file.Field("Rank", kRankWidth).Field("Name", kNameWidth);
  if (kind == PageKind::kPilot) {
    file.Field("Squad", kSquadWidth).Field("Value", kPilotValueWidth);
  } else {
    file.Field("Value", kSquadValueWidth);
  }
  file << "\n";
}

void WriteRow(ReportFile& file, PageKind kind, uint32_t rank,
              const TopEntry& entry) {
  file.Field(FormatUnsigned(rank), kRankWidth).Field(entry.Name, kNameWidth);
  if (kind == PageKind::kPilot) {
    file.Field(entry.SquadName, kSquadWidth)
        .Field(entry.ValueText, kPilotValueWidth);
  } else {
    file.Field(entry.ValueText, kSquadValueWidth);
  }
  file << "\n";
}

void WriteTextReport(const ReportScope& scope, const TopList& list,
                     std::string_view list_name, PageKind kind) {
  const std::string path = FormReportPath(scope, list_name, ".txt");
  std::unique_ptr<ReportFile> file =
      OpenReport(scope.platform, path, kOpenFailure, kWriteFailure);
  PrintWritingMessage(scope.status, path, "' .");
  const int64_t now = scope.platform.Now();
  WriteTextReportHeader(scope.platform, *file, path, now);

  *file << "ScoreID: \t" << scope.CurrentScoreID << "\n"
        << "Top list:\t" << scope.settings.General.TopX << " (" << list.Count()
        << ")\n"
        << "\n";
  WriteColumnHeads(*file, kind);
  *file << "\n";
  uint32_t rank = 0;
  for (const TopEntry& entry : list.entries()) {
    WriteRow(*file, kind, ++rank, entry);
    ProgressDots(scope.status, rank, list.Count());
  }
  scope.status.PrintStatus(" Done\n");
  CommitReport(std::move(file));
}

}  // namespace

void WritePilotTextReport(const ReportScope& scope, const TopList& list,
                          std::string_view list_name) {
  WriteTextReport(scope, list, list_name, PageKind::kPilot);
}

void WriteSquadTextReport(const ReportScope& scope, const TopList& list,
                          std::string_view list_name) {
  WriteTextReport(scope, list, list_name, PageKind::kSquad);
}

}  // namespace tallyhawk

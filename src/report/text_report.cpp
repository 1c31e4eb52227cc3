#include "report/text_report.h"

#include <string>

#include "report/page_kind.h"
#include "report/report_file.h"
#include "report/report_frame.h"
#include "run/run_context.h"
#include "run/text_format.h"

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

void WriteTextReport(RunContext& context, std::string_view list_name,
                     PageKind kind) {
  const std::string path = FormReportPath(context, list_name, ".txt");
  std::unique_ptr<ReportFile> file =
      OpenReport(context, path, kOpenFailure, kWriteFailure);
  PrintWritingMessage(context, path, "' .");
  const int64_t now = context.platform.Now();
  WriteTextReportHeader(context, *file, path, now);

  const TopList& list = context.top_list;
  *file << "ScoreID: \t" << context.CurrentScoreID << "\n"
        << "Top list:\t" << context.settings.General.TopX << " ("
        << list.Count() << ")\n"
        << "\n";
  WriteColumnHeads(*file, kind);
  *file << "\n";
  uint32_t rank = 0;
  for (const TopEntry& entry : list.entries()) {
    WriteRow(*file, kind, ++rank, entry);
    ProgressDots(context, rank, list.Count());
  }
  context.PrintStatus(" Done\n");
  CommitReport(std::move(file));
}

}  // namespace

void WritePilotTextReport(RunContext& context, std::string_view list_name) {
  WriteTextReport(context, list_name, PageKind::kPilot);
}

void WriteSquadTextReport(RunContext& context, std::string_view list_name) {
  WriteTextReport(context, list_name, PageKind::kSquad);
}

}  // namespace tallyhawk

#include "run/score_id_pass.h"

#include <memory>
#include <string_view>
#include <vector>

#include "report/group_page.h"
#include "report/html_report.h"
#include "report/report_frame.h"
#include "report/text_report.h"
#include "stats/pilot_filters.h"
#include "stats/squad_filters.h"
#include "stats/squad_stats.h"

namespace tallyhawk {
namespace {

// Runs one filter between its message and " Done"; its dots come between.
template <typename Input, typename Filter>
TopList RunFilter(StatusOutput& status, std::string_view message,
                  const Input& input, Filter filter) {
  status.PrintStatus(message);
  TopList list = filter(input, status);
  status.PrintStatus(" Done\n");
  return list;
}

// Hands one list to every writer the output settings switch on. An empty
// list is written all the same.
void WriteList(const ReportScope& scope, PageKind kind, const TopList& list,
               std::string_view list_name, std::string_view group_title,
               GroupPage* group_page) {
  const OutputSettings& output = scope.settings.Output;
  const bool pilot = kind == PageKind::kPilot;
  if (output.Text) {
    pilot ? WritePilotTextReport(scope, list, list_name)
          : WriteSquadTextReport(scope, list, list_name);
  }
  if (output.HTML) {
    pilot ? WritePilotHtmlReport(scope, list, list_name)
          : WriteSquadHtmlReport(scope, list, list_name);
  }
  if (group_page) WriteGroupSection(scope, *group_page, list, group_title);
}

std::unique_ptr<GroupPage> MaybeOpenGroupPage(const ReportScope& scope,
                                              PageKind kind) {
  if (!scope.settings.Output.HTMLGroup) return nullptr;
  return OpenGroupPage(scope, kind);
}

void ComputePilotStats(RunContext& context, const ReportScope& scope) {
  const Settings& settings = context.settings;
  std::unique_ptr<GroupPage> group_page =
      MaybeOpenGroupPage(scope, PageKind::kPilot);
  const Databases& databases = context.databases;
  const PilotRows rows{databases.ScoreTable.RowsOf(scope.CurrentScoreID),
                       databases.ScoreTable.SlotCount(),
                       databases.UserTable,
                       databases.SquadTable,
                       settings.General.TopX,
                       settings.General.MinKills};
  for (const PilotList& list : kPilotLists) {
    if (!(settings.User.*list.flag)) continue;
    TopList top = RunFilter(context.status, list.message, rows, list.filter);
    WriteList(scope, PageKind::kPilot, top, list.ListName, list.GroupTitle,
              group_page.get());
  }
  if (group_page) CloseGroupPage(scope, std::move(group_page));
}

std::vector<SquadStats> CompileSquads(RunContext& context, uint32_t score_id) {
  const Databases& databases = context.databases;
  if (!context.squad_membership) {
    context.squad_membership =
        CountSquadMembership(databases.UserTable, databases.SquadTable);
  }
  context.status.PrintStatus("Compiling squad stats .");
  std::vector<SquadStats> stats = CompileSquadStats(
      databases.ScoreTable.RowsOf(score_id), databases.ScoreTable.SlotCount(),
      databases.SquadTable, *context.squad_membership, context.status);
  context.status.PrintStatus(" Done\n");
  return stats;
}

void ComputeSquadStats(RunContext& context, const ReportScope& scope) {
  const Settings& settings = context.settings;
  std::unique_ptr<GroupPage> group_page =
      MaybeOpenGroupPage(scope, PageKind::kSquad);
  const std::vector<SquadStats> stats =
      CompileSquads(context, scope.CurrentScoreID);
  const SquadRows rows{context.databases.SquadTable, stats,
                       settings.General.TopX, settings.General.MinKills,
                       settings.Squad.MinMembers};
  for (const SquadList& list : kSquadLists) {
    if (!(settings.Squad.*list.flag)) continue;
    TopList top = RunFilter(context.status, list.message, rows, list.filter);
    WriteList(scope, PageKind::kSquad, top, list.ListName, list.GroupTitle,
              group_page.get());
  }
  if (group_page) CloseGroupPage(scope, std::move(group_page));
}

}  // namespace

void RunScoreIdPass(RunContext& context, uint32_t score_id,
                    const std::string& score_id_dir) {
  StatusOutput& status = context.status;
  constexpr const char* kRule = "--------------------------\n";
  status.PrintStatus(kRule);
  status.line() << "SCORE ID " << score_id << "\n";
  status.PrintStatusLine();
  status.PrintStatus(kRule);

  const ReportScope scope{context.platform, status, context.settings, score_id,
                          score_id_dir};
  if (context.databases.UserTable.SlotCount() > 0 &&
      context.settings.User.AnyOn()) {
    ComputePilotStats(context, scope);
  }
  status.PrintStatus("\n");
  if (context.databases.SquadTable.SlotCount() > 0 &&
      context.settings.Squad.AnyOn()) {
    ComputeSquadStats(context, scope);
  }
  status.PrintStatus("\n");
}

}  // namespace tallyhawk

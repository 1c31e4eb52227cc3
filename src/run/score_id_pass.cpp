#include "run/score_id_pass.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "report/group_page.h"
#include "report/html_report.h"
#include "report/json_report.h"
#include "report/report_frame.h"
#include "report/text_report.h"
#include "stats/pilot_filters.h"
#include "stats/squad_filters.h"
#include "stats/squad_stats.h"

namespace tallyhawk {
namespace {

// The pages a score ID's lists are written to across its pilot and squad
// lists; null where the output settings switch them off.
struct OpenPages {
  GroupPage* group_page = nullptr;
  StatsJson* json = nullptr;
};

// Hands one list to every writer the output settings switch on. An empty
// list is written all the same.
void WriteList(const ReportScope& scope, PageKind kind, const TopList& list,
               std::string_view list_name, std::string_view group_title,
               const OpenPages& pages) {
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
  if (pages.group_page) {
    WriteGroupSection(scope, *pages.group_page, list, group_title);
  }
  if (pages.json) pages.json->AddList(list_name, group_title, kind, list);
}

// Each list that `flags` switch on, in table order: its message, its filter
// (which prints its dots), " Done", then its writers.
template <typename Lists, typename Flags, typename Input>
void RunLists(const ReportScope& scope, PageKind kind, const Lists& lists,
              const Flags& flags, const Input& input, const OpenPages& pages) {
  for (const auto& list : lists) {
    if (!(flags.*list.flag)) continue;
    scope.status.PrintStatus(list.message);
    const TopList top = list.filter(input, scope.status);
    scope.status.PrintStatus(" Done\n");
    WriteList(scope, kind, top, list.ListName, list.GroupTitle, pages);
  }
}

std::unique_ptr<GroupPage> MaybeOpenGroupPage(const ReportScope& scope,
                                              PageKind kind) {
  if (!scope.settings.Output.HTMLGroup) return nullptr;
  return OpenGroupPage(scope, kind);
}

void ComputePilotStats(RunContext& context, const ReportScope& scope,
                       StatsJson* json) {
  const Settings& settings = context.settings;
  std::unique_ptr<GroupPage> group_page =
      MaybeOpenGroupPage(scope, PageKind::kPilot);
  const PilotRows rows{context.databases.ScoreRows.RowsOf(scope.CurrentScoreID),
                       context.databases.ScoreTable.SlotCount(),
                       settings.General.TopX, settings.General.MinKills};
  RunLists(scope, PageKind::kPilot, kPilotLists, settings.User, rows,
           {group_page.get(), json});
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
      databases.ScoreRows.RowsOf(score_id), databases.ScoreTable.SlotCount(),
      databases.SquadTable, *context.squad_membership, context.status);
  context.status.PrintStatus(" Done\n");
  return stats;
}

void ComputeSquadStats(RunContext& context, const ReportScope& scope,
                       StatsJson* json) {
  const Settings& settings = context.settings;
  std::unique_ptr<GroupPage> group_page =
      MaybeOpenGroupPage(scope, PageKind::kSquad);
  const std::vector<SquadStats> stats =
      CompileSquads(context, scope.CurrentScoreID);
  const SquadRows rows{context.databases.SquadTable, stats,
                       settings.General.TopX, settings.General.MinKills,
                       settings.Squad.MinMembers};
  RunLists(scope, PageKind::kSquad, kSquadLists, settings.Squad, rows,
           {group_page.get(), json});
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
  // Gathers the lists as they are computed; written after the last one.
  std::optional<StatsJson> json;
  if (context.settings.Output.JSON) {
    json.emplace(score_id, ZoneDirName(context.Zones(), score_id),
                 context.settings);
  }
  StatsJson* json_lists = json ? &*json : nullptr;
  if (context.databases.UserTable.SlotCount() > 0 &&
      context.settings.User.AnyOn()) {
    ComputePilotStats(context, scope, json_lists);
  }
  status.PrintStatus("\n");
  if (context.databases.SquadTable.SlotCount() > 0 &&
      context.settings.Squad.AnyOn()) {
    ComputeSquadStats(context, scope, json_lists);
  }
  if (json) WriteStatsJson(scope, *json);
  status.PrintStatus("\n");
}

}  // namespace tallyhawk

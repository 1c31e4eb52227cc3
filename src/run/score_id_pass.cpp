#include "run/score_id_pass.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "report/group_page.h"
#include "report/html_report.h"
#include "report/json_report.h"
#include "report/report_frame.h"
#include "report/text_report.h"
#include "run/compute_ahead.h"
#include "site/site_collector.h"
#include "stats/pilot_filters.h"
#include "stats/squad_filters.h"
#include "stats/squad_stats.h"

namespace tallyhawk {
namespace {

// Lists longer than this are made one at a time as they are written.
constexpr uint32_t kLongestListAhead = 10000;

// The lists of one score ID as computed. Computing them prints nothing
// (their dots are counted), so it can happen before their turn comes on
// the console. A pilot list can be as long as the rows: a long one is kept
// as ranked rows until it is written, one at a time; a squad list is at
// most as long as the squad table.
struct ScoreIdLists {
  bool pilots_on = false;
  std::array<RankedRows, kPilotLists.size()> pilots;
  std::array<std::optional<TopList>, kPilotLists.size()> pilots_made;
  bool squads_on = false;
  int squad_stats_dots = 0;
  std::array<TopList, kSquadLists.size()> squads;
  std::array<int, kSquadLists.size()> squad_dots{};
};

PilotRows PilotRowsOf(const RunContext& context, uint32_t score_id) {
  const Databases& databases = context.databases;
  const GeneralSettings& general = context.settings.General;
  return PilotRows{databases.ScoreTable.RowsOf(score_id),
                   databases.ScoreTable.SlotCount(),
                   databases.UserTable,
                   databases.SquadTable,
                   general.TopX,
                   general.MinKills};
}

SquadRows SquadRowsOf(const RunContext& context,
                      const std::vector<SquadStats>& stats) {
  const Settings& settings = context.settings;
  return SquadRows{context.databases.SquadTable, stats, settings.General.TopX,
                   settings.General.MinKills, settings.Squad.MinMembers};
}

bool PilotsOn(const RunContext& context) {
  return context.databases.UserTable.SlotCount() > 0 &&
         context.settings.User.AnyOn();
}

bool SquadsOn(const RunContext& context) {
  return context.databases.SquadTable.SlotCount() > 0 &&
         context.settings.Squad.AnyOn();
}

// Reads only what no pass changes: the tables, the settings and the squad
// membership (counted before).
ScoreIdLists ComputeLists(const RunContext& context, uint32_t score_id) {
  ScoreIdLists lists;
  const Settings& settings = context.settings;
  lists.pilots_on = PilotsOn(context);
  if (lists.pilots_on) {
    PilotListsOn on;
    for (size_t i = 0; i < on.size(); ++i) {
      on[i] = settings.User.*kPilotLists[i].flag;
    }
    const PilotRows rows = PilotRowsOf(context, score_id);
    lists.pilots = RankPilotLists(rows, on);
    if (settings.General.TopX <= kLongestListAhead) {
      for (size_t i = 0; i < on.size(); ++i) {
        if (on[i])
          lists.pilots_made[i] = MakePilotList(rows, i, lists.pilots[i]);
      }
    }
  }
  lists.squads_on = SquadsOn(context);
  if (lists.squads_on) {
    const Databases& databases = context.databases;
    DotTally dots;
    const std::vector<SquadStats> stats = CompileSquadStats(
        databases.ScoreTable.RowsOf(score_id), databases.ScoreTable.SlotCount(),
        databases.SquadTable, *context.squad_membership, dots);
    lists.squad_stats_dots = dots.dots();
    SquadListsOn on;
    for (size_t i = 0; i < on.size(); ++i) {
      on[i] = settings.Squad.*kSquadLists[i].flag;
    }
    const SquadRows rows = SquadRowsOf(context, stats);
    const std::array<RankedRows, kSquadLists.size()> ranked =
        RankSquadLists(rows, on);
    for (size_t i = 0; i < on.size(); ++i) {
      if (!on[i]) continue;
      lists.squads[i] = MakeSquadList(rows, i, ranked[i]);
      lists.squad_dots[i] = ranked[i].dots;
    }
  }
  return lists;
}

// A computation's message, its dots and " Done".
void PrintComputed(StatusOutput& status, std::string_view message, int dots) {
  status.PrintStatus(message);
  if (dots > 0) status.PrintStatus(std::string(static_cast<size_t>(dots), '.'));
  status.PrintStatus(" Done\n");
}

// Hands one list to every writer the output settings switch on. An empty
// list is written all the same. With a site, `site` keeps it with the pages
// it went to.
void WriteList(const ReportScope& scope, PageKind kind, const TopList& list,
               std::string_view list_name, std::string_view group_title,
               GroupPage* group_page, StatsJson* json, ScoreIdSite* site) {
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
  if (json) json->AddList(list_name, group_title, kind, list);
  if (site) {
    site->AddList(kind, list_name, list,
                  output.HTML ? FormReportPath(scope, list_name, ".html") : "",
                  group_page ? group_page->path : "");
  }
}

std::unique_ptr<GroupPage> MaybeOpenGroupPage(const ReportScope& scope,
                                              PageKind kind) {
  if (!scope.settings.Output.HTMLGroup) return nullptr;
  return OpenGroupPage(scope, kind);
}

void WritePilotLists(const RunContext& context, const ReportScope& scope,
                     ScoreIdLists& lists, StatsJson* json, ScoreIdSite* site) {
  std::unique_ptr<GroupPage> group_page =
      MaybeOpenGroupPage(scope, PageKind::kPilot);
  const PilotRows rows = PilotRowsOf(context, scope.CurrentScoreID);
  for (size_t i = 0; i < kPilotLists.size(); ++i) {
    const PilotList& list = kPilotLists[i];
    if (!(context.settings.User.*list.flag)) continue;
    PrintComputed(scope.status, list.message, lists.pilots[i].dots);
    const TopList top = lists.pilots_made[i]
                            ? std::move(*lists.pilots_made[i])
                            : MakePilotList(rows, i, lists.pilots[i]);
    WriteList(scope, PageKind::kPilot, top, list.ListName, list.GroupTitle,
              group_page.get(), json, site);
  }
  if (group_page) CloseGroupPage(scope, std::move(group_page));
}

void WriteSquadLists(const RunContext& context, const ReportScope& scope,
                     const ScoreIdLists& lists, StatsJson* json,
                     ScoreIdSite* site) {
  std::unique_ptr<GroupPage> group_page =
      MaybeOpenGroupPage(scope, PageKind::kSquad);
  PrintComputed(scope.status, "Compiling squad stats .",
                lists.squad_stats_dots);
  for (size_t i = 0; i < kSquadLists.size(); ++i) {
    const SquadList& list = kSquadLists[i];
    if (!(context.settings.Squad.*list.flag)) continue;
    PrintComputed(scope.status, list.message, lists.squad_dots[i]);
    WriteList(scope, PageKind::kSquad, lists.squads[i], list.ListName,
              list.GroupTitle, group_page.get(), json, site);
  }
  if (group_page) CloseGroupPage(scope, std::move(group_page));
}

// Threads to compute lists on: other threads pay when the score IDs have
// enough rows on average for their lists to take far longer than handing
// them over. They are used only for lists of a bounded length, so that the
// lists computed ahead take little memory; the machine's cores bound them.
size_t WorkersFor(const RunContext& context) {
  if (context.options.workers) return *context.options.workers;
  constexpr uint64_t kRowsWorthAThread = 4096;
  const std::vector<uint32_t>& score_ids = context.score_ids.ids();
  uint64_t rows = 0;
  for (uint32_t score_id : score_ids) {
    rows += context.databases.ScoreTable.RowsOf(score_id).size();
  }
  if (score_ids.size() < 2 || rows < kRowsWorthAThread * score_ids.size() ||
      context.settings.General.TopX > kLongestListAhead) {
    return 0;
  }
  // The caller computes too whenever it would wait for a list, so one core
  // is left to it.
  const size_t cores = std::max(1u, std::thread::hardware_concurrency());
  return std::clamp<size_t>(cores - 1, 1, 2);
}

// The site, when on, takes the lists as written, in the score ID's turn.
void RunScoreIdPass(RunContext& context, uint32_t score_id,
                    ScoreIdLists lists) {
  // The map is read once for every pass, before anything of it is printed.
  const std::string zone_name = ZoneDirName(context.Zones(), score_id);
  std::string score_id_dir =
      ScoreIdDirOf(context.settings.Output.Directory, zone_name);
  StatusOutput& status = context.status;
  constexpr const char* kRule = "--------------------------\n";
  status.PrintStatus(kRule);
  status.line() << "SCORE ID " << score_id << "\n";
  status.PrintStatusLine();
  status.PrintStatus(kRule);

  const ReportScope scope{context.platform, status, context.settings, score_id,
                          std::move(score_id_dir)};
  // Gathers the lists as they are written; written itself after the last.
  std::optional<StatsJson> json;
  if (context.settings.Output.JSON) {
    json.emplace(score_id, zone_name, context.settings);
  }
  StatsJson* json_lists = json ? &*json : nullptr;
  std::optional<ScoreIdSite> site;
  if (context.site) site = ScoreIdSite{score_id, zone_name, {}};
  ScoreIdSite* site_lists = site ? &*site : nullptr;
  if (lists.pilots_on) {
    WritePilotLists(context, scope, lists, json_lists, site_lists);
  }
  status.PrintStatus("\n");
  if (lists.squads_on) {
    WriteSquadLists(context, scope, lists, json_lists, site_lists);
  }
  if (json) WriteStatsJson(scope, *json);
  status.PrintStatus("\n");
  if (site) context.site->Add(std::move(*site));
}

}  // namespace

std::optional<SquadMembership> MembershipFor(const RunContext& context) {
  if (!SquadsOn(context)) return std::nullopt;
  return CountSquadMembership(context.databases.UserTable,
                              context.databases.SquadTable);
}

void RunScoreIdPasses(RunContext& context) {
  if (!context.squad_membership)
    context.squad_membership = MembershipFor(context);
  // The lists of the next score IDs are computed on other threads while the
  // current one is printed and written; each is then written in its turn,
  // so the console, the log and the files keep their order, and a failure
  // ends the run just as it would without threads. At most kWindow score
  // IDs' lists wait, since each can be as long as its rows. A fatal error
  // with workers computing is tested by ScoreIdPassTest and IoFailureTest
  // (a disk filling up), the workers' shutdown by ComputeAheadTest.
  constexpr size_t kWindow = 3;
  const std::vector<uint32_t>& score_ids = context.score_ids.ids();
  const auto compute = [&context, &score_ids](size_t i) {
    return ComputeLists(context, score_ids[i]);
  };
  ComputeAhead<ScoreIdLists> lists(score_ids.size(), WorkersFor(context),
                                   kWindow, compute);
  for (size_t i = 0; i < score_ids.size(); ++i) {
    RunScoreIdPass(context, score_ids[i], lists.Take(i));
  }
}

}  // namespace tallyhawk

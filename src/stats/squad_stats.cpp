#include "stats/squad_stats.h"

#include <string_view>

#include "report/group_page.h"
#include "report/html_report.h"
#include "report/text_report.h"
#include "run/run_context.h"
#include "stats/progress_mark.h"
#include "stats/squad_filters.h"
#include "stats/squad_membership.h"

namespace tallyhawk {

namespace {

struct SquadList {
  bool SquadSettings::*flag;
  void (*filter)(RunContext&);
  std::string_view list_name;
  std::string_view group_title;
};

// In the order the lists are computed and written.
constexpr SquadList kSquadLists[] = {
    {&SquadSettings::DoTotalPoints, FilterSquadTotalPoints, "SqTotPts",
     "Total Points"},
    {&SquadSettings::DoAvgPoints, FilterSquadAvgPoints, "SqAvgPts",
     "Average Points"},
    {&SquadSettings::DoAvgKill, FilterSquadAvgKill, "SqAvgKill",
     "Average Kill"},
    {&SquadSettings::DoWins, FilterSquadWins, "SqWins", "Wins"},
    {&SquadSettings::DoLosses, FilterSquadLosses, "SqLosses", "Losses"},
    {&SquadSettings::DoRatio, FilterSquadRatio, "SqRatio", "Ratio"},
    {&SquadSettings::DoRating, FilterSquadRating, "SqRating", "Rating"},
    {&SquadSettings::DoMembers, FilterSquadMembers, "SqMembers", "Members"},
};

}  // namespace

void CompileSquadStats(RunContext& context) {
  CountSquadMembership(context);
  const SquadMembership& membership = context.squad_membership;
  std::vector<SquadRecord>& squads = context.databases.SquadTable.records();
  for (size_t k = 0; k < squads.size(); ++k) {
    SquadRecord& squad = squads[k];
    squad.Members = membership.members[k];
    squad.Wins = squad.Losses = 0;
    squad.KillPoints = squad.FlagPoints = 0;
  }

  context.PrintStatus("Compiling squad stats .");
  ProgressMark progress(context);
  const uint64_t score_slots = context.databases.ScoreTable.SlotCount();
  for (const ScoreRow& row :
       context.databases.ScoreRows.RowsOf(context.CurrentScoreID)) {
    if (row.squad == nullptr) continue;
    row.squad->Wins += row.score->Wins;
    row.squad->Losses += row.score->Losses;
    row.squad->KillPoints += row.score->KillPoints;
    row.squad->FlagPoints += row.score->FlagPoints;
    progress.Update(ProgressOf(50, row.slot, score_slots));
  }
  // The members were counted once; their walk's dots still follow, with the
  // mark the score rows left.
  for (uint64_t value : membership.progress) progress.Update(value);
  context.PrintStatus(" Done\n");
}

void ComputeSquadStats(RunContext& context) {
  const OutputSettings& output = context.settings.Output;
  if (output.HTMLGroup) OpenGroupPage(context, PageKind::kSquad);
  CompileSquadStats(context);
  for (const SquadList& list : kSquadLists) {
    if (!(context.settings.Squad.*list.flag)) continue;
    list.filter(context);
    // An empty list is written all the same.
    if (output.Text) WriteSquadTextReport(context, list.list_name);
    if (output.HTML) WriteSquadHtmlReport(context, list.list_name);
    if (output.HTMLGroup) {
      WriteGroupSection(context, PageKind::kSquad, list.group_title);
    }
  }
  if (output.HTMLGroup) CloseGroupPage(context, PageKind::kSquad);
  context.top_list.ClearTopList();
}

}  // namespace tallyhawk

#include "stats/pilot_stats.h"

#include <string_view>

#include "report/group_page.h"
#include "report/html_report.h"
#include "report/text_report.h"
#include "run/run_context.h"
#include "stats/pilot_filters.h"

namespace tallyhawk {

namespace {

struct PilotList {
  bool UserSettings::*flag;
  void (*filter)(RunContext&);
  std::string_view list_name;
  std::string_view group_title;
};

// In the order the lists are computed and written.
constexpr PilotList kPilotLists[] = {
    {&UserSettings::DoTotalPoints, FilterPilotTotalPoints, "TotPts",
     "Total Points"},
    {&UserSettings::DoFlagPoints, FilterPilotFlagPoints, "FlagPts",
     "Flag Points"},
    {&UserSettings::DoKillPoints, FilterPilotKillPoints, "KillPts",
     "Kill Points"},
    {&UserSettings::DoAvgKill, FilterPilotAvgKill, "AvgKill", "Average Kill"},
    {&UserSettings::DoWins, FilterPilotWins, "Wins", "Wins"},
    {&UserSettings::DoLosses, FilterPilotLosses, "Losses", "Losses"},
    {&UserSettings::DoRatio, FilterPilotRatio, "Ratio", "Ratio"},
    {&UserSettings::DoRating, FilterPilotRating, "Rating", "Rating"},
};

}  // namespace

void ComputePilotStats(RunContext& context) {
  const OutputSettings& output = context.settings.Output;
  if (output.HTMLGroup) OpenGroupPage(context, PageKind::kPilot);
  for (const PilotList& list : kPilotLists) {
    if (!(context.settings.User.*list.flag)) continue;
    list.filter(context);
    // An empty list is written all the same.
    if (output.Text) WritePilotTextReport(context, list.list_name);
    if (output.HTML) WritePilotHtmlReport(context, list.list_name);
    if (output.HTMLGroup) {
      WriteGroupSection(context, PageKind::kPilot, list.group_title);
    }
  }
  if (output.HTMLGroup) CloseGroupPage(context, PageKind::kPilot);
  context.top_list.ClearTopList();
}

}  // namespace tallyhawk

#include "site/site_views.h"

#include <algorithm>
#include <string_view>

#include "site/site_text.h"
#include "util/text_format.h"
#include "util/version.h"

namespace tallyhawk {
namespace {

// The pages of pilots and squads sit one folder below the root.
constexpr int kSubjectDepth = 1;

PageFrame MakeFrame(const SiteData& data, int depth) {
  PageFrame frame;
  frame.site_title = SettingToUtf8(data.settings.Site.Title);
  const std::string& style_sheet = data.settings.Output.StyleSheet;
  if (!style_sheet.empty()) {
    frame.style_href = SettingToUtf8(StyleSheetHref(style_sheet, depth));
  }
  frame.run_time = data.run_time;
  frame.generator = "Tallyhawk v" + std::to_string(kVersionMajor) + "." +
                    std::to_string(kVersionMinor);
  frame.index_href = PageHref("index.html", depth);
  return frame;
}

// The address of the written file `path` from a page `depth` folders below
// the root; none for a file outside the root.
std::string FileHref(const SiteData& data, const std::string& path, int depth) {
  const std::string below = BelowRoot(path, data.settings.Output.Directory);
  return below.empty() ? "" : PageHref(below, depth);
}

// A list's own page, or else its section of the grouped page.
std::string ListHref(const SiteData& data, const SiteList& list, int depth) {
  if (!list.page.empty()) return FileHref(data, list.page, depth);
  if (list.group_page.empty()) return "";
  std::string href = FileHref(data, list.group_page, depth);
  if (!href.empty()) href += "#" + FragmentHref(list.title());
  return href;
}

std::string SubjectHref(std::string_view folder, uint32_t id, int depth) {
  return PageHref(std::string(folder) + "/" + PageFileName(id), depth);
}

std::string PilotName(const SiteData& data, uint32_t user_id) {
  const UserRecord* user = data.databases.UserTable.Lookup(user_id);
  return user ? Latin1ToUtf8(user->Name.view()) : "";
}

std::string SquadName(const SiteData& data, uint32_t squad_id) {
  const SquadRecord* squad = data.databases.SquadTable.Lookup(squad_id);
  return squad ? Latin1ToUtf8(squad->Name.view()) : "";
}

// The pilot's squad, linked to its page; empty when its squad is not
// loaded.
LinkView SquadOfPilot(const SiteData& data, uint32_t user_id, int depth) {
  const UserRecord* user = data.databases.UserTable.Lookup(user_id);
  if (!user || data.subjects.SquadIndex(user->SquadID) == SiteSubjects::kNone) {
    return {};
  }
  return {SquadName(data, user->SquadID),
          SubjectHref(kSquadFolder, user->SquadID, depth)};
}

// The name the zone map gives the score ID; empty when it gives none.
std::string ZoneOf(const SiteData& data, uint32_t score) {
  const ScoreIdSite& site = data.score_ids[score];
  if (site.zone_name == FormatUnsigned(site.score_id)) return "";
  return SettingToUtf8(site.zone_name);
}

// Whole numbers kept in doubles (sums of 32-bit figures) as decimals.
std::string Whole(double value) { return FormatFixed(value, 0); }

FiguresView PilotFigures(const PilotRowFigures& row) {
  return {FormatUnsigned(uint64_t{row.KillPoints} + row.FlagPoints),
          FormatUnsigned(row.KillPoints), FormatUnsigned(row.FlagPoints),
          FormatUnsigned(row.Wins), FormatUnsigned(row.Losses)};
}

FiguresView SquadFigures(const SquadStats& stats) {
  return {Whole(stats.KillPoints + stats.FlagPoints), Whole(stats.KillPoints),
          Whole(stats.FlagPoints), FormatUnsigned(stats.Wins),
          FormatUnsigned(stats.Losses)};
}

RankView MakeRank(const SiteData& data, const SubjectRank& place) {
  const SiteList& list = data.score_ids[place.score].lists[place.list];
  return {{std::string(list.title()), ListHref(data, list, kSubjectDepth)},
          place.rank,
          Latin1ToUtf8(list.values[place.rank - 1])};
}

// The section of score ID `score` in `views`, added when it is not the last.
SubjectScoreIdView& SectionOf(const SiteData& data,
                              std::vector<SubjectScoreIdView>& views,
                              uint32_t score) {
  const uint32_t score_id = data.score_ids[score].score_id;
  if (views.empty() || views.back().score_id != score_id) {
    views.push_back({score_id, ZoneOf(data, score), {}, {}});
  }
  return views.back();
}

EntryView MakeEntry(const SiteData& data, const SiteList& list, size_t k) {
  EntryView entry;
  entry.rank = static_cast<uint32_t>(k + 1);
  const uint32_t id = list.ids[k];
  entry.value = Latin1ToUtf8(list.values[k]);
  if (list.kind == PageKind::kPilot) {
    entry.name = {PilotName(data, id), SubjectHref(kPilotFolder, id, 0)};
    entry.squad = SquadOfPilot(data, id, 0);
  } else {
    entry.name = {SquadName(data, id), SubjectHref(kSquadFolder, id, 0)};
  }
  return entry;
}

IndexScoreIdView MakeIndexScoreId(const SiteData& data, uint32_t score) {
  const ScoreIdSite& site = data.score_ids[score];
  IndexScoreIdView view{site.score_id, ZoneOf(data, score), {}, {}};
  std::vector<std::string> seen;
  const auto add_page = [&](const std::string& path, std::string text) {
    if (path.empty() || std::ranges::count(seen, path) > 0) return;
    seen.push_back(path);
    std::string href = FileHref(data, path, 0);
    if (!href.empty()) view.pages.push_back({std::move(text), std::move(href)});
  };
  ListGroupView pilots{"Pilots", {}};
  ListGroupView squads{"Squads", {}};
  for (const SiteList& list : site.lists) {
    const bool pilot = list.kind == PageKind::kPilot;
    add_page(list.group_page, pilot ? "Pilot statistics" : "Squad statistics");
    add_page(list.page,
             (pilot ? "Pilots: " : "Squads: ") + std::string(list.title()));
    ListView list_view{
        {std::string(list.title()), ListHref(data, list, 0)}, pilot, {}};
    const size_t shown = std::min(kIndexEntries, list.ids.size());
    for (size_t k = 0; k < shown; ++k) {
      list_view.entries.push_back(MakeEntry(data, list, k));
    }
    (pilot ? pilots : squads).lists.push_back(std::move(list_view));
  }
  for (ListGroupView* group : {&pilots, &squads}) {
    if (!group->lists.empty()) view.groups.push_back(std::move(*group));
  }
  return view;
}

}  // namespace

IndexView MakeIndexView(const SiteData& data, const UsageSection& usage) {
  IndexView view;
  view.frame = MakeFrame(data, 0);
  view.pilot_pages = data.subjects.pilots.size();
  view.squad_pages = data.subjects.squads.size();
  view.usage = usage.figures;
  view.since_date = usage.since_date;
  if (!usage.page.empty()) view.usage_href = FileHref(data, usage.page, 0);
  for (uint32_t score = 0; score < data.score_ids.size(); ++score) {
    view.score_ids.push_back(MakeIndexScoreId(data, score));
  }
  return view;
}

PilotView MakePilotView(const SiteData& data, size_t pilot) {
  const uint32_t user_id = data.subjects.pilots[pilot];
  PilotView view;
  view.frame = MakeFrame(data, kSubjectDepth);
  view.name = PilotName(data, user_id);
  view.squad = SquadOfPilot(data, user_id, kSubjectDepth);
  // Both in score order: every place in a list is a place of a row.
  const std::vector<SubjectRank>& ranks = data.subjects.pilot_ranks[pilot];
  auto rank = ranks.begin();
  for (const PilotRowFigures& row : data.figures.pilots[pilot]) {
    SubjectScoreIdView& section = SectionOf(data, view.score_ids, row.score);
    if (!section.rows.empty()) {
      section.rows.push_back(PilotFigures(row));
      continue;
    }
    section.rows.push_back(PilotFigures(row));
    for (; rank != ranks.end() && rank->score <= row.score; ++rank) {
      if (rank->score == row.score)
        section.ranks.push_back(MakeRank(data, *rank));
    }
  }
  return view;
}

SquadView MakeSquadView(const SiteData& data, size_t squad) {
  const uint32_t squad_id = data.subjects.squads[squad];
  SquadView view;
  view.frame = MakeFrame(data, kSubjectDepth);
  view.name = SquadName(data, squad_id);
  const std::vector<SquadScoreFigures>& figures = data.figures.squads[squad];
  const std::vector<SubjectRank>& ranks = data.subjects.squad_ranks[squad];
  auto figure = figures.begin();
  auto rank = ranks.begin();
  // A squad may be listed where none of its members has a row (the members
  // list takes every squad): its figures there are naught.
  SquadStats naught;
  view.member_count = naught.Members = data.figures.member_counts[squad];
  for (uint32_t score = 0; score < data.score_ids.size(); ++score) {
    const bool has_rows = figure != figures.end() && figure->score == score;
    const bool listed = rank != ranks.end() && rank->score == score;
    if (!has_rows && !listed) continue;
    SubjectScoreIdView& section = SectionOf(data, view.score_ids, score);
    section.rows.push_back(SquadFigures(has_rows ? (figure++)->stats : naught));
    for (; rank != ranks.end() && rank->score == score; ++rank) {
      section.ranks.push_back(MakeRank(data, *rank));
    }
  }
  for (uint32_t member : data.figures.members[squad]) {
    const uint32_t user_id = data.subjects.pilots[member];
    view.members.push_back({PilotName(data, user_id),
                            SubjectHref(kPilotFolder, user_id, kSubjectDepth)});
  }
  return view;
}

}  // namespace tallyhawk

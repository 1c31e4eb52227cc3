// What each page of the site shows, as plain values: the templates lay them
// out. Every text is UTF-8 and not yet escaped; every address is relative
// to the page that holds it. An empty address means no link.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/settings.h"
#include "db/databases.h"
#include "site/site_collector.h"
#include "site/site_figures.h"
#include "site/site_subjects.h"

namespace tallyhawk {

struct LinkView {
  std::string text;
  std::string href;
};

// The head of every page.
struct PageFrame {
  std::string site_title;
  std::string style_href;  // empty: no style sheet
  std::string run_time;
  std::string generator;
  std::string index_href;
};

struct EntryView {
  uint32_t rank = 0;
  LinkView name;
  LinkView squad;  // pilot lists only
  std::string value;
};

struct ListView {
  LinkView title;
  bool pilot_list = true;
  std::vector<EntryView> entries;
};

struct ListGroupView {
  std::string title;  // "Pilots", "Squads"
  std::vector<ListView> lists;
};

struct IndexScoreIdView {
  uint32_t score_id = 0;
  std::string zone;  // the zone map's name; empty when it gives none
  std::vector<LinkView> pages;
  std::vector<ListGroupView> groups;
};

struct UsageFigureView {
  std::string name;
  std::string value;
  bool since = false;
};

struct IndexView {
  PageFrame frame;
  size_t pilot_pages = 0;
  size_t squad_pages = 0;
  std::vector<UsageFigureView> usage;
  std::string since_date;  // empty: no figure counts from a date
  std::string usage_href;  // empty: no usage page was written
  std::vector<IndexScoreIdView> score_ids;
};

struct FiguresView {
  std::string points;
  std::string kill_points;
  std::string flag_points;
  std::string wins;
  std::string losses;
};

struct RankView {
  LinkView list;
  uint32_t rank = 0;
  std::string value;
};

struct SubjectScoreIdView {
  uint32_t score_id = 0;
  std::string zone;  // the zone map's name; empty when it gives none
  std::vector<FiguresView> rows;  // a squad has one
  std::vector<RankView> ranks;
};

struct PilotView {
  PageFrame frame;
  std::string name;
  LinkView squad;
  std::vector<SubjectScoreIdView> score_ids;
};

struct SquadView {
  PageFrame frame;
  std::string name;
  uint32_t member_count = 0;
  std::vector<SubjectScoreIdView> score_ids;
  std::vector<LinkView> members;
};

// Everything the views are made of.
struct SiteData {
  const Settings& settings;
  const Databases& databases;
  const std::vector<ScoreIdSite>& score_ids;
  const SiteSubjects& subjects;
  const SubjectFigures& figures;
  std::string run_time;
};

// The zone-wide usage part of the index.
struct UsageSection {
  std::vector<UsageFigureView> figures;
  std::string since_date;
  std::string page;  // the path of Usage.html, when it was written
};

IndexView MakeIndexView(const SiteData& data, const UsageSection& usage);
PilotView MakePilotView(const SiteData& data, size_t pilot);
SquadView MakeSquadView(const SiteData& data, size_t squad);

// Where the pages of pilots and squads go, below the output root.
inline constexpr char kPilotFolder[] = "pilots";
inline constexpr char kSquadFolder[] = "squads";
// How many entries of each list the index shows.
inline constexpr size_t kIndexEntries = 5;

}  // namespace tallyhawk

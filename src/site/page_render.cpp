#include "site/page_render.h"

#include <kainjow/mustache.hpp>

#include "util/text_format.h"

namespace tallyhawk {

namespace mustache = kainjow::mustache;

struct PageRenderer::Parsed {
  mustache::mustache index;
  mustache::mustache pilot;
  mustache::mustache squad;
};

namespace {

// The page in one string: the renderer hands over its pieces as it goes.
std::string RenderToString(mustache::mustache& page,
                           const mustache::data& data) {
  std::string text;
  text.reserve(16 << 10);
  page.render(data, [&text](const std::string& piece) { text += piece; });
  return text;
}

// A section key is set only when it is on: the templates test for it, and
// a key missing here is looked up in the enclosing sections, so the names
// of each level differ from those of the levels around it.
void SetFlag(mustache::data& data, const std::string& key, bool on) {
  if (on) data.set(key, mustache::data::type::bool_true);
}

// `text` under `key`, and the link `href` under `href_key` with the flag
// `has_<href_key>` when there is one.
void SetLink(mustache::data& data, const std::string& key,
             const std::string& href_key, const LinkView& link) {
  data.set(key, link.text);
  if (link.href.empty()) return;
  data.set(href_key, link.href);
  data.set("has_" + href_key, mustache::data::type::bool_true);
}

void SetFrame(mustache::data& data, const PageFrame& frame) {
  data.set("site_title", frame.site_title);
  SetFlag(data, "has_style", !frame.style_href.empty());
  data.set("style_href", frame.style_href);
  data.set("run_time", frame.run_time);
  data.set("generator", frame.generator);
  data.set("index_href", frame.index_href);
}

mustache::data EntryData(const EntryView& entry) {
  mustache::data data;
  data.set("rank", FormatUnsigned(entry.rank));
  data.set("name", entry.name.text);
  data.set("name_href", entry.name.href);
  SetLink(data, "squad", "squad_href", entry.squad);
  data.set("value", entry.value);
  return data;
}

mustache::data ListData(const ListView& list) {
  mustache::data data;
  SetLink(data, "list_title", "list_href", list.title);
  SetFlag(data, "pilot_list", list.pilot_list);
  SetFlag(data, "has_entries", !list.entries.empty());
  mustache::list entries;
  for (const EntryView& entry : list.entries)
    entries.push_back(EntryData(entry));
  data.set("entries", entries);
  return data;
}

mustache::data ScoreIdData(const IndexScoreIdView& score_id) {
  mustache::data data;
  data.set("score_id", FormatUnsigned(score_id.score_id));
  SetFlag(data, "has_zone", !score_id.zone.empty());
  data.set("zone", score_id.zone);
  SetFlag(data, "has_pages", !score_id.pages.empty());
  mustache::list pages;
  for (const LinkView& page : score_id.pages) {
    mustache::data page_data;
    page_data.set("page_text", page.text);
    page_data.set("page_href", page.href);
    pages.push_back(page_data);
  }
  data.set("pages", pages);
  mustache::list groups;
  for (const ListGroupView& group : score_id.groups) {
    mustache::data group_data;
    group_data.set("group_title", group.title);
    mustache::list lists;
    for (const ListView& list : group.lists) lists.push_back(ListData(list));
    group_data.set("lists", lists);
    groups.push_back(group_data);
  }
  data.set("groups", groups);
  return data;
}

mustache::data FiguresData(const FiguresView& figures) {
  mustache::data data;
  data.set("points", figures.points);
  data.set("kill_points", figures.kill_points);
  data.set("flag_points", figures.flag_points);
  data.set("wins", figures.wins);
  data.set("losses", figures.losses);
  return data;
}

mustache::list SubjectScoreIds(const std::vector<SubjectScoreIdView>& views,
                               bool one_row) {
  mustache::list score_ids;
  for (const SubjectScoreIdView& view : views) {
    // A squad has one row of figures, shown in the section itself.
    mustache::data data = one_row && !view.rows.empty()
                              ? FiguresData(view.rows.front())
                              : mustache::data();
    data.set("score_id", FormatUnsigned(view.score_id));
    SetFlag(data, "has_zone", !view.zone.empty());
    data.set("zone", view.zone);
    mustache::list rows;
    for (const FiguresView& row : view.rows) rows.push_back(FiguresData(row));
    data.set("rows", rows);
    SetFlag(data, "has_ranks", !view.ranks.empty());
    mustache::list ranks;
    for (const RankView& rank : view.ranks) {
      mustache::data rank_data;
      SetLink(rank_data, "list_title", "list_href", rank.list);
      rank_data.set("rank", FormatUnsigned(rank.rank));
      rank_data.set("value", rank.value);
      ranks.push_back(rank_data);
    }
    data.set("ranks", ranks);
    score_ids.push_back(data);
  }
  return score_ids;
}

}  // namespace

PageRenderer::PageRenderer(const SiteTemplates& templates)
    : parsed_(new Parsed{mustache::mustache(templates.index.text),
                         mustache::mustache(templates.pilot.text),
                         mustache::mustache(templates.squad.text)}) {}

PageRenderer::~PageRenderer() = default;

std::string PageRenderer::Render(const IndexView& view) {
  mustache::data data;
  SetFrame(data, view.frame);
  data.set("pilot_pages", FormatUnsigned(view.pilot_pages));
  data.set("squad_pages", FormatUnsigned(view.squad_pages));
  SetFlag(data, "has_usage", !view.usage.empty());
  mustache::list usage;
  for (const UsageFigureView& figure : view.usage) {
    mustache::data figure_data;
    figure_data.set("usage_name", figure.name);
    figure_data.set("usage_value", figure.value);
    SetFlag(figure_data, "usage_since", figure.since);
    usage.push_back(figure_data);
  }
  data.set("usage", usage);
  SetFlag(data, "has_since", !view.since_date.empty());
  data.set("since_date", view.since_date);
  SetFlag(data, "has_usage_page", !view.usage_href.empty());
  data.set("usage_href", view.usage_href);
  mustache::list score_ids;
  for (const IndexScoreIdView& score_id : view.score_ids) {
    score_ids.push_back(ScoreIdData(score_id));
  }
  data.set("score_ids", score_ids);
  return RenderToString(parsed_->index, data);
}

std::string PageRenderer::Render(const PilotView& view) {
  mustache::data data;
  SetFrame(data, view.frame);
  data.set("name", view.name);
  SetLink(data, "squad", "squad_href", view.squad);
  data.set("score_ids", SubjectScoreIds(view.score_ids, false));
  return RenderToString(parsed_->pilot, data);
}

std::string PageRenderer::Render(const SquadView& view) {
  mustache::data data;
  SetFrame(data, view.frame);
  data.set("name", view.name);
  data.set("member_count", FormatUnsigned(view.member_count));
  data.set("score_ids", SubjectScoreIds(view.score_ids, true));
  SetFlag(data, "has_members", !view.members.empty());
  mustache::list members;
  for (const LinkView& member : view.members) {
    mustache::data member_data;
    member_data.set("member_name", member.text);
    member_data.set("member_href", member.href);
    members.push_back(member_data);
  }
  data.set("members", members);
  return RenderToString(parsed_->squad, data);
}

}  // namespace tallyhawk

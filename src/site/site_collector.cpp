#include "site/site_collector.h"

#include <utility>

#include "stats/pilot_filters.h"
#include "stats/squad_filters.h"

namespace tallyhawk {
namespace {

template <typename Lists>
size_t IndexOf(const Lists& lists, std::string_view list_name) {
  size_t index = 0;
  while (index + 1 < lists.size() && lists[index].ListName != list_name) {
    ++index;
  }
  return index;
}

}  // namespace

std::string_view SiteList::title() const {
  return kind == PageKind::kPilot ? kPilotLists[index].GroupTitle
                                  : kSquadLists[index].GroupTitle;
}

void ScoreIdSite::AddList(PageKind kind, std::string_view list_name,
                          const TopList& list, std::string page,
                          std::string group_page) {
  SiteList site_list;
  site_list.kind = kind;
  site_list.index = kind == PageKind::kPilot ? IndexOf(kPilotLists, list_name)
                                             : IndexOf(kSquadLists, list_name);
  site_list.page = std::move(page);
  site_list.group_page = std::move(group_page);
  site_list.ids.reserve(list.Count());
  site_list.values.reserve(list.Count());
  for (const TopEntry& entry : list.entries()) {
    site_list.ids.push_back(entry.Id);
    site_list.values.push_back(entry.ValueText);
  }
  lists.push_back(std::move(site_list));
}

}  // namespace tallyhawk

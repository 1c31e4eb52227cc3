// What the site is made of: the lists of every score ID as the pass wrote
// them, handed over one score ID at a time in its turn, and kept until the
// site is written at the end of the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/page_kind.h"
#include "stats/top_list.h"

namespace tallyhawk {

// One list as written: which list, the pages it went to, and who holds each
// rank with the value text the list shows.
struct SiteList {
  PageKind kind = PageKind::kPilot;
  size_t index = 0;           // its place in kPilotLists or kSquadLists
  std::string page;           // its own HTML page; empty when none was written
  std::string group_page;     // the grouped page with its section, or empty
  std::vector<uint32_t> ids;  // UserID or SquadID, rank order
  std::vector<std::string> values;  // the value texts, rank order

  std::string_view title() const;  // its title on the grouped page
};

// The lists of one score ID, in the order they were written.
struct ScoreIdSite {
  uint32_t score_id = 0;
  std::string zone_name;  // the zone map's name, or the score ID
  std::vector<SiteList> lists;

  // Keeps `list` (list `list_name` of kind `kind`) as written to `page` and
  // `group_page` (empty for a page not written).
  void AddList(PageKind kind, std::string_view list_name, const TopList& list,
               std::string page, std::string group_page);
};

class SiteCollector {
 public:
  // Score IDs come in the order of the run.
  void Add(ScoreIdSite score_id) { score_ids_.push_back(std::move(score_id)); }
  const std::vector<ScoreIdSite>& score_ids() const { return score_ids_; }

 private:
  std::vector<ScoreIdSite> score_ids_;
};

}  // namespace tallyhawk

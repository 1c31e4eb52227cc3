// The two JSON files: the lists of one score ID (Stats<scoreID>.json) and
// the zone-wide usage figures (Usage.json). The texts are built from plain
// values; their layout is described by the schemas in dist/schema.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/settings.h"
#include "report/json_text.h"
#include "report/page_kind.h"
#include "stats/top_list.h"
#include "stats/usage_stats.h"

namespace tallyhawk {

// The lists of one score ID, added one by one as they are computed. Each
// list is turned into text at once, so only the text is kept.
class StatsJson {
 public:
  // `zone_directory` is the name the zone map gives the score ID, or the
  // score ID in decimal when it has none.
  StatsJson(uint32_t score_id, std::string_view zone_directory,
            const Settings& settings);

  // `key` is the list's name (TotPts, SqWins, ...), `title` the
  // title of its section in the grouped page.
  void AddList(std::string_view key, std::string_view title, PageKind kind,
               const TopList& list);

  // The whole file, written at `run_time`; lines end in "\n".
  std::string Text(const JsonTime& run_time) const;

 private:
  uint32_t score_id_;
  std::string zone_directory_;  // as a JSON string
  std::string settings_;        // as a JSON object
  std::string lists_;
};

// The usage figures the settings enable, in the order of the usage reports.
// `cut_off` is the start of the LastDays window of the active and new
// players.
std::string UsageJsonText(const UsageSettings& usage, const UsageTotals& totals,
                          const JsonTime& run_time, const JsonTime& cut_off);

}  // namespace tallyhawk

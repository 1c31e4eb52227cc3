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
#include "stats/usage_stats.h"
#include "stats/top_list.h"

namespace tallyhawk {

// The lists of one score ID, added one by one as they are computed. Each
// list is turned into text at once, so only the text is kept.
class StatsJson {
 public:
  // `zone_directory` is the name the zone map gives the score ID, or the
  // score ID in decimal when it has none.
  StatsJson(uint32_t score_id, std::string_view zone_directory,
            const JsonTime& run_time, const Settings& settings);

  // `key` is the list's name (TotPts, SqWins, ...), `title` its heading.
  void AddList(std::string_view key, std::string_view title, PageKind kind,
               const TopList& list);

  // The whole file, lines ending in "\n".
  std::string Text() const;

 private:
  std::string head_;
  std::string lists_;
};

// The usage figures the settings enable, in the order of the usage reports.
// `cut_off` is the start of the LastDays window of the active and new
// players.
std::string UsageJsonText(const UsageSettings& usage, const UsageTotals& totals,
                          const JsonTime& run_time, const JsonTime& cut_off);

}  // namespace tallyhawk

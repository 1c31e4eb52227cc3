// Writes the site: a page for every listed pilot and squad, each folder
// rid of the pages of those no longer listed, then the index. Each kind of
// page has one console line with its dots.
#pragma once

#include <cstddef>

#include "config/settings.h"
#include "db/databases.h"
#include "platform/platform.h"
#include "site/site_collector.h"
#include "site/site_templates.h"
#include "stats/squad_membership.h"
#include "stats/usage_stats.h"
#include "util/status_output.h"

namespace tallyhawk {

// What the site is written from.
struct SiteRun {
  Platform& platform;
  StatusOutput& status;
  const Settings& settings;
  const Databases& databases;
  const SquadMembership& membership;
  const SiteCollector& collector;
  const SiteTemplates& templates;
  // The usage figures, when the run made the usage report; else null.
  const UsageTotals* usage = nullptr;
  // Threads that write the pages of pilots and squads, at least one.
  size_t threads = 1;
};

// The message of every failure to write the site.
inline constexpr char kSiteFailure[] = "Unable to write file for site output";

void WriteSite(const SiteRun& run);

}  // namespace tallyhawk

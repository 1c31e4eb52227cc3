// The objects that live for the whole run. The driver owns them and the
// per-score-ID pass reads them; nothing below this folder sees them.
#pragma once

#include <cstdint>
#include <optional>

#include "config/settings.h"
#include "config/zone_dirs.h"
#include "db/databases.h"
#include "db/score_ids.h"
#include "platform/platform.h"
#include "run/command_line.h"
#include "site/site_collector.h"
#include "site/site_templates.h"
#include "stats/squad_membership.h"
#include "util/status_output.h"

namespace tallyhawk {

struct RunContext {
  RunContext(Platform& platform, const RunOptions& options)
      : platform(platform),
        options(options),
        status(platform, options.quiet, options.veryquiet) {}

  // The zone map as the settings and the command line name it.
  ZoneDirs Zones() const {
    return ZoneDirs{platform, options.ZoneInfoFileName,
                    settings.Output.Directory};
  }

  Platform& platform;
  RunOptions options;
  StatusOutput status;
  Settings settings;
  Databases databases;
  ScoreIdList score_ids;
  // Counted while score.dat loads (or by the first squad pass); the same for
  // every score ID.
  std::optional<SquadMembership> squad_membership;
  // With the site on: the lists of the score IDs as they were written, and
  // the templates of its pages, read when the settings are.
  std::optional<SiteCollector> site;
  SiteTemplates site_templates;
};

}  // namespace tallyhawk

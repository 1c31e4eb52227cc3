// The objects that live for the whole run, passed by reference to every
// operation of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "config/settings.h"
#include "db/databases.h"
#include "db/score_ids.h"
#include "platform/platform.h"
#include "run/command_line.h"
#include "run/status_output.h"
#include "stats/squad_membership.h"
#include "stats/top_list.h"

namespace tallyhawk {

struct GroupPage;

struct RunContext {
  RunContext(Platform& platform, const RunOptions& options);
  ~RunContext();

  void PrintStatus(std::string_view text) { status.PrintStatus(text); }
  void PrintStatusLine() { status.PrintStatusLine(); }
  StatusLine& Line() { return status.line(); }

  Platform& platform;
  RunOptions options;
  StatusOutput status;
  Settings settings;
  Databases databases;
  TopList top_list;
  ScoreIdList score_ids;
  uint32_t CurrentScoreID = 0;
  std::string ScoreIdDir;
  SquadMembership squad_membership;
  // The grouped page while one is open.
  std::unique_ptr<GroupPage> group_page;
};

}  // namespace tallyhawk

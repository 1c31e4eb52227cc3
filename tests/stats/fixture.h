// A run context over small hand-made tables; only the statistics run, so
// only their progress reaches the console.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "run/run_context.h"
#include "support/fake_platform.h"

namespace tallyhawk::testing {

class StatsTest : public ::testing::Test {
 protected:
  StatsTest() {
    context.CurrentScoreID = 1;
    context.databases.UserTable.MakeReady();
    context.databases.SquadTable.MakeReady();
    context.databases.ScoreTable.MakeReady();
  }

  // User `id`, named "p<id>", in `squad` (999999: no loaded squad).
  void AddUser(uint32_t id, uint32_t squad = 999999) {
    UserRecord user;
    user.UserID = id;
    user.Name = NameField::FromText("p" + std::to_string(id));
    user.SquadID = squad;
    context.databases.UserTable.Store(user, id);
  }

  void AddSquad(uint32_t id, const std::string& name) {
    SquadRecord squad;
    squad.SquadID = id;
    squad.Name = NameField::FromText(name);
    context.databases.SquadTable.Store(squad, id);
  }

  void AddScore(uint32_t entry, uint32_t score_id, uint32_t user, uint16_t wins,
                uint16_t losses = 0, uint32_t kill_points = 0,
                uint32_t flag_points = 0) {
    ScoreRecord score;
    score.EntryID = entry;
    score.ScoreID = score_id;
    score.UserID = user;
    score.Wins = wins;
    score.Losses = losses;
    score.KillPoints = kill_points;
    score.FlagPoints = flag_points;
    context.databases.ScoreTable.Store(score, entry);
  }

  void Load() {
    Databases& db = context.databases;
    db.UserTable.Finish();
    db.SquadTable.Finish();
    db.ScoreTable.Finish();
    db.ScoreRows.Build(db.ScoreTable, db.UserTable, db.SquadTable);
  }

  // Runs `filter` and gives "Name ValueText" in rank order.
  std::vector<std::string> ListOf(void (*filter)(RunContext&)) {
    filter(context);
    std::vector<std::string> rows;
    for (const TopEntry& entry : context.top_list.entries()) {
      rows.push_back(entry.Name + " " + entry.ValueText);
    }
    return rows;
  }

  // The console since the last call.
  std::string TakeConsole() { return std::exchange(platform.console, {}); }

  FakePlatform platform;
  RunContext context{platform, RunOptions{}};
};

// `count` dots between a message and " Done".
inline std::string Dotted(const std::string& message, int count) {
  return message + std::string(count, '.') + " Done\n";
}

}  // namespace tallyhawk::testing

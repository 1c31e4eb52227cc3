// A run context over small hand-made tables, with every report writer off,
// so that only the statistics speak on the console.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "run/run_context.h"
#include "support/fake_platform.h"

namespace tallyhawk::testing {

// A SquadID that names no loaded squad.
constexpr uint32_t kNoSquad = 999999;

class StatsTest : public ::testing::Test {
 protected:
  StatsTest() : context(platform, RunOptions{}) {
    context.settings.Output.Text = false;
    context.settings.Output.HTML = false;
    context.settings.Output.HTMLGroup = false;
    context.databases.UserTable.MakeReady();
    context.databases.SquadTable.MakeReady();
    context.databases.ScoreTable.MakeReady();
  }

  void AddUser(uint32_t id, std::string_view name, uint32_t squad = kNoSquad) {
    UserRecord user;
    user.UserID = id;
    user.Name = NameField::FromText(name);
    user.SquadID = squad;
    context.databases.UserTable.Store(user, id);
  }

  void AddSquad(uint32_t id, std::string_view name) {
    SquadRecord squad;
    squad.SquadID = id;
    squad.Name = NameField::FromText(name);
    context.databases.SquadTable.Store(squad, id);
  }

  void AddScore(uint32_t entry, uint32_t score_id, uint32_t user, uint16_t wins,
                uint16_t losses, uint32_t kill_points,
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

  std::string TakeConsole() {
    std::string text = std::move(platform.console);
    platform.console.clear();
    return text;
  }

  // "Name [SquadName] ValueText" in rank order.
  std::vector<std::string> Listed() const {
    std::vector<std::string> rows;
    for (const TopEntry& entry : context.top_list.entries()) {
      std::string row = entry.Name;
      if (!entry.SquadName.empty()) row += " [" + entry.SquadName + "]";
      rows.push_back(row + " " + entry.ValueText);
    }
    return rows;
  }

  FakePlatform platform;
  RunContext context;
};

// `count` dots between a message and " Done".
inline std::string Dotted(std::string_view message, int count) {
  return std::string(message) + std::string(count, '.') + " Done\n";
}

}  // namespace tallyhawk::testing

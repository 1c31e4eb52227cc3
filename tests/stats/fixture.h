// Small hand-made tables for the statistics, and a progress sink that counts
// their dots.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "db/databases.h"
#include "stats/top_list.h"
#include "util/progress.h"

namespace tallyhawk::testing {

class StatsTest : public ::testing::Test {
 protected:
  StatsTest() {
    db.UserTable.MakeReady();
    db.SquadTable.MakeReady();
    db.ScoreTable.MakeReady();
  }

  // User `id`, named "p<id>", in `squad` (999999: no loaded squad).
  void AddUser(uint32_t id, uint32_t squad = 999999) {
    db.UserTable.Store(
        {id, NameField::FromText("p" + std::to_string(id)), squad, 0, 0}, id);
  }

  void AddSquad(uint32_t id, const std::string& name) {
    db.SquadTable.Store({id, NameField::FromText(name)}, id);
  }

  void AddScore(uint32_t entry, uint32_t score_id, uint32_t user, uint16_t wins,
                uint16_t losses = 0, uint32_t kill_points = 0,
                uint32_t flag_points = 0) {
    scores.push_back(
        {entry, score_id, user, wins, losses, kill_points, flag_points});
  }

  // The score rows go in last, as the loader stores them: their users are
  // looked up as they are stored.
  void Load() {
    db.UserTable.Finish();
    db.SquadTable.Finish();
    for (const ScoreRecord& score : scores)
      db.ScoreTable.Store(score, db.UserTable);
    db.ScoreTable.Finish(db.UserTable);
  }

  // "Name ValueText" in rank order.
  static std::vector<std::string> Listed(const TopList& list) {
    std::vector<std::string> rows;
    for (const TopEntry& entry : list.entries())
      rows.push_back(entry.Name + " " + entry.ValueText);
    return rows;
  }

  Databases db;
  std::vector<ScoreRecord> scores;
  DotTally progress;
};

}  // namespace tallyhawk::testing

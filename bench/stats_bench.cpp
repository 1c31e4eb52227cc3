// Benchmarks of the statistics on large tables: one filter over a million
// eligible rows, bounded and unbounded, and the squad compile.
#include <benchmark/benchmark.h>

#include "run/run_context.h"
#include "stats/pilot_filters.h"
#include "stats/squad_stats.h"
#include "support/fake_platform.h"

namespace tallyhawk {
namespace {

constexpr uint32_t kScoreId = 1;

// A zone of `rows` pilots with one score row each, in 1000 squads.
class LargeZone {
 public:
  explicit LargeZone(uint32_t rows) : context_(platform_, RunOptions{}) {
    context_.settings.Output.HTMLGroup = false;
    context_.settings.General.MinKills = 1;
    Databases& db = context_.databases;
    db.UserTable.MakeReady();
    db.SquadTable.MakeReady();
    db.ScoreTable.MakeReady();
    for (uint32_t squad = 0; squad < 1000; ++squad) {
      SquadRecord record;
      record.SquadID = squad;
      record.Name = NameField::FromText("Squad " + std::to_string(squad));
      db.SquadTable.Store(record, squad);
    }
    for (uint32_t i = 0; i < rows; ++i) {
      UserRecord user;
      user.UserID = i;
      user.Name = NameField::FromText("Pilot " + std::to_string(i));
      user.SquadID = i % 1000;
      db.UserTable.Store(user, i);
      ScoreRecord score;
      score.EntryID = i;
      score.ScoreID = kScoreId;
      score.UserID = i;
      score.Wins = static_cast<uint16_t>(1 + i % 997);
      score.Losses = static_cast<uint16_t>(i % 13);
      score.KillPoints = i * 7919u % 100000u;
      db.ScoreTable.Store(score, i);
    }
    db.UserTable.Finish();
    db.SquadTable.Finish();
    db.ScoreTable.Finish();
    db.ScoreRows.Build(db.ScoreTable, db.UserTable, db.SquadTable);
    context_.CurrentScoreID = kScoreId;
  }

  RunContext& context() { return context_; }

 private:
  testing::FakePlatform platform_;
  RunContext context_;
};

void BM_PilotRatioFilter(benchmark::State& state) {
  static LargeZone zone(1000000);
  zone.context().settings.General.TopX = static_cast<uint32_t>(state.range(0));
  for (auto _ : state) {
    FilterPilotRatio(zone.context());
    benchmark::DoNotOptimize(zone.context().top_list.Count());
  }
}
BENCHMARK(BM_PilotRatioFilter)
    ->Arg(100)
    ->Arg(4294967295)
    ->Unit(benchmark::kMillisecond);

void BM_CompileSquadStats(benchmark::State& state) {
  static LargeZone zone(1000000);
  for (auto _ : state) CompileSquadStats(zone.context());
}
BENCHMARK(BM_CompileSquadStats)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallyhawk

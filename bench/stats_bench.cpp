// Benchmarks of the statistics on large tables: one filter over a million
// eligible rows, bounded and unbounded, and the squad compile.
#include <benchmark/benchmark.h>

#include "db/databases.h"
#include "stats/pilot_filters.h"
#include "stats/squad_membership.h"
#include "stats/squad_stats.h"

namespace tallyhawk {
namespace {

constexpr uint32_t kScoreId = 1;

struct NoDots : ProgressSink {
  void Dot() override {}
};

// A zone of `rows` pilots with one score row each, in 1000 squads.
struct LargeZone {
  explicit LargeZone(uint32_t rows) {
    db.UserTable.MakeReady();
    db.SquadTable.MakeReady();
    db.ScoreTable.MakeReady();
    for (uint32_t squad = 0; squad < 1000; ++squad) {
      db.SquadTable.Store(
          {squad, NameField::FromText("Squad " + std::to_string(squad))},
          squad);
    }
    for (uint32_t i = 0; i < rows; ++i) {
      UserRecord user;
      user.UserID = i;
      user.Name = NameField::FromText("Pilot " + std::to_string(i));
      user.SquadID = i % 1000;
      db.UserTable.Store(user, i);
    }
    db.UserTable.Finish();
    db.SquadTable.Finish();
    for (uint32_t i = 0; i < rows; ++i) {
      db.ScoreTable.Store(
          {i, kScoreId, i, static_cast<uint16_t>(1 + i % 997),
           static_cast<uint16_t>(i % 13), i * 7919u % 100000u, 0},
          db.UserTable);
    }
    db.ScoreTable.Finish(db.UserTable);
  }

  Databases db;
  NoDots progress;
};

void BM_PilotRatioFilter(benchmark::State& state) {
  static LargeZone zone(1000000);
  const PilotRows rows{zone.db.ScoreTable.RowsOf(kScoreId),
                       zone.db.ScoreTable.SlotCount(),
                       zone.db.UserTable,
                       zone.db.SquadTable,
                       static_cast<uint32_t>(state.range(0)),
                       1};
  for (auto _ : state) {
    benchmark::DoNotOptimize(FilterPilotRatio(rows, zone.progress).Count());
  }
}
BENCHMARK(BM_PilotRatioFilter)
    ->Arg(100)
    ->Arg(4294967295)
    ->Unit(benchmark::kMillisecond);

void BM_CompileSquadStats(benchmark::State& state) {
  static LargeZone zone(1000000);
  const SquadMembership membership =
      CountSquadMembership(zone.db.UserTable, zone.db.SquadTable);
  for (auto _ : state) {
    benchmark::DoNotOptimize(CompileSquadStats(
        zone.db.ScoreTable.RowsOf(kScoreId), zone.db.ScoreTable.SlotCount(),
        zone.db.SquadTable, membership, zone.progress));
  }
}
BENCHMARK(BM_CompileSquadStats)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallyhawk

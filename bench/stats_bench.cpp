// The hot paths of a run, each on a zone of 200,000 pilots with about
// 900,000 score rows in 5 score IDs: loading the files into the tables, the
// walks that rank a score ID's pilot and squad lists, making a list's
// entries, the squad sums and a report.
#include <benchmark/benchmark.h>

#include "bench_zone.h"
#include "report/report_frame.h"
#include "report/text_report.h"
#include "stats/pilot_filters.h"
#include "stats/squad_filters.h"
#include "stats/squad_membership.h"
#include "stats/squad_stats.h"

namespace tallyhawk::bench {
namespace {

constexpr uint32_t kUnbounded = 4294967295u;

const LoadedZone& Zone() {
  static const LoadedZone zone{ZoneShape{}};
  return zone;
}

// Reads and decodes the three files, groups the score rows; dense or
// scattered IDs.
void BM_LoadDatabases(benchmark::State& state) {
  testing::FakePlatform platform =
      MakeZoneFiles(ZoneShape{.scattered = state.range(0) == 1});
  for (auto _ : state) {
    Databases db;
    LoadZone(platform, db);
    benchmark::DoNotOptimize(db.ScoreTable.SlotCount());
  }
  state.SetItemsProcessed(state.iterations() *
                          platform.files["score.dat"].size() / 28);
}
BENCHMARK(BM_LoadDatabases)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The pilot rows of score ID 1, ranked into lists of `top_x`.
PilotRows RowsOfScoreId1(const Databases& db, int64_t top_x) {
  return PilotRows{
      db.ScoreTable.RowsOf(1), db.ScoreTable.SlotCount(),    db.UserTable,
      db.SquadTable,           static_cast<uint32_t>(top_x), 50};
}

// All eight pilot lists of score ID 1 in their one walk, as a run makes
// them.
void BM_RankPilotLists(benchmark::State& state) {
  const Databases& db = Zone().db;
  const PilotRows rows = RowsOfScoreId1(db, state.range(0));
  PilotListsOn on;
  on.fill(true);
  for (auto _ : state) benchmark::DoNotOptimize(RankPilotLists(rows, on));
  state.SetItemsProcessed(state.iterations() * rows.rows.size());
}
BENCHMARK(BM_RankPilotLists)
    ->Arg(100)
    ->Arg(kUnbounded)
    ->Unit(benchmark::kMicrosecond);

// Names and value texts of a ranked list: the short lists of a run, or
// every row of the score ID.
void BM_MakePilotList(benchmark::State& state) {
  const Databases& db = Zone().db;
  const PilotRows rows = RowsOfScoreId1(db, state.range(0));
  PilotListsOn on{};
  on[6] = true;  // Ratio
  const RankedRows ranked = RankPilotLists(rows, on)[6];
  for (auto _ : state) benchmark::DoNotOptimize(MakePilotList(rows, 6, ranked));
  state.SetItemsProcessed(state.iterations() * ranked.ranked.size());
}
BENCHMARK(BM_MakePilotList)
    ->Arg(100)
    ->Arg(kUnbounded)
    ->Unit(benchmark::kMicrosecond);

void BM_CompileSquadStats(benchmark::State& state) {
  const Databases& db = Zone().db;
  const SquadMembership membership =
      CountSquadMembership(db.UserTable, db.SquadTable);
  NoDots dots;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        CompileSquadStats(db.ScoreTable.RowsOf(1), db.ScoreTable.SlotCount(),
                          db.SquadTable, membership, dots));
  }
  state.SetItemsProcessed(state.iterations() * db.ScoreTable.RowsOf(1).size());
}
BENCHMARK(BM_CompileSquadStats)->Unit(benchmark::kMicrosecond);

// All eight squad lists of score ID 1 in their one walk.
void BM_RankSquadLists(benchmark::State& state) {
  const Databases& db = Zone().db;
  const SquadMembership membership =
      CountSquadMembership(db.UserTable, db.SquadTable);
  NoDots dots;
  const std::vector<SquadStats> stats =
      CompileSquadStats(db.ScoreTable.RowsOf(1), db.ScoreTable.SlotCount(),
                        db.SquadTable, membership, dots);
  const SquadRows rows{db.SquadTable, stats, 100, 50, 5};
  SquadListsOn on;
  on.fill(true);
  for (auto _ : state) benchmark::DoNotOptimize(RankSquadLists(rows, on));
  state.SetItemsProcessed(state.iterations() * stats.size());
}
BENCHMARK(BM_RankSquadLists)->Unit(benchmark::kMicrosecond);

// A pilot text report of TopX 100 or of every row, on the in-memory
// platform.
void BM_TextReport(benchmark::State& state) {
  const Databases& db = Zone().db;
  NoDots dots;
  Settings settings;
  settings.General.TopX = static_cast<uint32_t>(state.range(0));
  const PilotRows rows{
      db.ScoreTable.RowsOf(1), db.ScoreTable.SlotCount(), db.UserTable,
      db.SquadTable,           settings.General.TopX,     50};
  const TopList list = FilterPilotList(rows, 2, dots);  // KillPts
  testing::FakePlatform platform;
  StatusOutput quiet(platform, true, true);
  const ReportScope scope{platform, quiet, settings, 1, ""};
  for (auto _ : state) WritePilotTextReport(scope, list, "KillPts");
  state.SetItemsProcessed(state.iterations() * list.Count());
}
BENCHMARK(BM_TextReport)
    ->Arg(100)
    ->Arg(kUnbounded)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallyhawk::bench

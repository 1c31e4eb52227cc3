#include "stats/usage_stats.h"

#include <algorithm>
#include <future>
#include <span>

namespace tallyhawk {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr uint64_t kPercentPerSlot = 33;

void PrintPassDots(ProgressSink& progress, uint64_t slot_count) {
  for (int i = UsagePassDots(slot_count); i > 0; --i) progress.Dot();
}

struct UserCounts {
  uint64_t new_players = 0;
  uint64_t active = 0;
};

UserCounts CountRange(std::span<const UserRecord> users, uint32_t cut_off) {
  UserCounts counts;
  for (const UserRecord& user : users) {
    if (user.Created >= cut_off) ++counts.new_players;
    if (user.LastSeen >= cut_off) ++counts.active;
  }
  return counts;
}

// Nothing else runs while the usage figures are compiled, so the second
// half of the users is counted on a thread of its own (where one can
// start): the walk over a large user table is bound by memory.
void CountUsers(const Databases& databases, ProgressSink& progress,
                UsageTotals& totals) {
  const UserTableType& users = databases.UserTable;
  const std::span<const UserRecord> records(users.records());
  const size_t half = records.size() / 2;
  std::future<UserCounts> second = std::async(UserWorkLaunch(users), [&] {
    return CountRange(records.subspan(half), totals.cut_off);
  });
  const UserCounts first = CountRange(records.first(half), totals.cut_off);
  const UserCounts rest = second.get();
  totals.players = records.size();
  totals.new_players = first.new_players + rest.new_players;
  totals.active = first.active + rest.active;
  PrintPassDots(progress, users.SlotCount());
}

void CountSquads(const Databases& databases, ProgressSink& progress,
                 UsageTotals& totals) {
  const SquadTableType& squads = databases.SquadTable;
  totals.squads = squads.size();
  PrintPassDots(progress, squads.SlotCount());
}

// Every row counts, of every score ID and whether or not its user is loaded;
// the table summed them as it loaded them.
void SumScores(const Databases& databases, ProgressSink& progress,
               UsageTotals& totals) {
  const ScoreTableType& scores = databases.ScoreTable;
  totals.kills = scores.totals().wins;
  totals.kill_points = scores.totals().kill_points;
  totals.flag_points = scores.totals().flag_points;
  PrintPassDots(progress, scores.SlotCount());
}

}  // namespace

uint32_t UsageCutOff(int64_t now, int32_t last_days) {
  const int64_t cut_off = now - int64_t{last_days} * kSecondsPerDay;
  return static_cast<uint32_t>(
      std::clamp<int64_t>(cut_off, 0, int64_t{UINT32_MAX}));
}

int UsagePassDots(uint64_t slot_count) {
  // Nothing else prints during a pass, so only the number of dots matters;
  // working it out from the arithmetic spares walking billions of empty
  // slots of a sparse table. Slot i gives p = 33 * i / slot_count, which
  // never decreases, so a mark v is printed exactly when the first slot that
  // reaches v gives v itself rather than jumping past it.
  int dots = 0;
  for (uint64_t mark : {10, 20, 30}) {
    const uint64_t first =
        (mark * slot_count + kPercentPerSlot - 1) / kPercentPerSlot;
    if (first < slot_count && kPercentPerSlot * first / slot_count == mark) {
      ++dots;
    }
  }
  return dots;
}

UsageTotals CompileUsageStats(const Databases& databases,
                              const UsageSettings& usage, int64_t now,
                              ProgressSink& progress) {
  UsageTotals totals;
  totals.cut_off = UsageCutOff(now, usage.LastDays);
  if (usage.DoActivePlayers || usage.DoNewPlayers || usage.DoAllPlayers) {
    CountUsers(databases, progress, totals);
  }
  if (usage.DoAllSquads) CountSquads(databases, progress, totals);
  if (usage.DoAllKills || usage.DoAvgKill || usage.DoAllKillPoints ||
      usage.DoAllFlagPoints || usage.DoAllPoints) {
    SumScores(databases, progress, totals);
  }
  return totals;
}

}  // namespace tallyhawk

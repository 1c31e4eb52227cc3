#include "stats/pilot_filters.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "stats/filter_run.h"
#include "util/text_format.h"

namespace tallyhawk {

namespace {

// Rows of pilots with too few kills are left out of the per-kill lists.
enum class Rows { kEvery, kActive };

using ValueFn = double (*)(const ScoreRow&);
using TextFn = std::string (*)(const ScoreRow&, double value);

// A list's rule: the rows it takes, their value and the value's text.
struct PilotRule {
  Rows rows;
  ValueFn value;
  TextFn text;
};

// Some wins, and at least min_kills: one comparison, so that the walk
// computes it as a value rather than branching on pilots at random.
bool IsActive(const ScoreRow& score, uint32_t min_kills) {
  return score.Wins >= std::max(min_kills, 1u);
}

template <int kDecimals>
std::string DecimalText(const ScoreRow&, double value) {
  return FixedText(value, kDecimals);
}

double TotalPoints(const ScoreRow& score) {
  return static_cast<double>(static_cast<uint64_t>(score.KillPoints) +
                             score.FlagPoints);
}

double FlagPoints(const ScoreRow& score) { return score.FlagPoints; }
double KillPoints(const ScoreRow& score) { return score.KillPoints; }
double Wins(const ScoreRow& score) { return score.Wins; }
double Losses(const ScoreRow& score) { return score.Losses; }

double AvgKill(const ScoreRow& score) {
  return static_cast<double>(score.KillPoints) / score.Wins;
}

// Undefeated pilots rank above every pilot with losses, and among
// themselves by kills.
double Ratio(const ScoreRow& score) {
  if (score.Losses == 0) return score.Wins + 1000000.0;
  return static_cast<double>(score.Wins) / score.Losses;
}

std::string RatioText(const ScoreRow& score, double value) {
  std::string counts = " (" + FormatUnsigned(score.Wins) + "/" +
                       FormatUnsigned(score.Losses) + ")";
  if (score.Losses == 0) return "---" + counts;
  return FixedText(value, 3) + counts;
}

// Whole-number arithmetic, truncated; 64-bit so large kill points never
// wrap.
double Rating(const ScoreRow& score) {
  uint64_t lead = score.Wins > score.Losses ? score.Wins - score.Losses : 0;
  uint64_t rating = 10 * (score.KillPoints + 10 * lead) / (score.Wins + 100u);
  return static_cast<double>(rating);
}

// The rule of each list, in the order of kPilotLists.
constexpr PilotRule kRules[] = {
    {Rows::kEvery, TotalPoints, DecimalText<0>},  // TotPts
    {Rows::kEvery, FlagPoints, DecimalText<0>},   // FlagPts
    {Rows::kEvery, KillPoints, DecimalText<0>},   // KillPts
    {Rows::kActive, AvgKill, DecimalText<1>},     // AvgKill
    {Rows::kEvery, Wins, DecimalText<0>},         // Wins
    {Rows::kEvery, Losses, DecimalText<0>},       // Losses
    {Rows::kActive, Ratio, RatioText},            // Ratio
    {Rows::kActive, Rating, DecimalText<0>},      // Rating
};
static_assert(std::size(kRules) == kPilotLists.size());

// Row `k` for list `kList`; its rule is known at compile time, so that the
// walk computes it inline.
template <size_t kList>
void TakeRow(RankedSelection& list, size_t k, const ScoreRow& row,
             bool active) {
  constexpr PilotRule kRule = kRules[kList];
  if (kRule.rows == Rows::kActive && !active) return;
  list.Offer(kRule.value(row), k);
}

template <size_t... kList>
std::array<RankedRows, kPilotLists.size()> WalkRows(
    const PilotRows& input, const PilotListsOn& on,
    std::index_sequence<kList...>) {
  const ScoreRows& rows = input.rows;
  // A list that is off takes nothing, like one of TopX 0.
  RankedSelection lists[] = {
      RankedSelection(on[kList] ? input.TopX : 0, rows.size())...};
  // The dots depend only on which rows a list takes.
  DotWalk every_row(input.score_slots);
  DotWalk active_row(input.score_slots);
  for (size_t k = 0; k < rows.size(); ++k) {
    const ScoreRow& row = rows[k];
    const bool active = IsActive(row, input.MinKills);
    every_row.Reach(row.slot);
    active_row.ReachWhen(active, row.slot);
    (TakeRow<kList>(lists[kList], k, row, active), ...);
  }
  return {RankedRows{lists[kList].Take(), kRules[kList].rows == Rows::kActive
                                              ? active_row.dots()
                                              : every_row.dots()}...};
}

}  // namespace

std::array<RankedRows, kPilotLists.size()> RankPilotLists(
    const PilotRows& rows, const PilotListsOn& on) {
  return WalkRows(rows, on, std::make_index_sequence<kPilotLists.size()>());
}

TopList MakePilotList(const PilotRows& rows, size_t list,
                      const RankedRows& ranked) {
  std::vector<TopEntry> entries;
  entries.reserve(ranked.ranked.size());
  const std::vector<RankCandidate>& candidates = ranked.ranked;
  // The candidates' rows and users are far apart in memory: each row is
  // fetched some entries ahead, and its user when the row has come.
  constexpr size_t kRowAhead = 16;
  constexpr size_t kUserAhead = 8;
  for (size_t k = 0; k < candidates.size(); ++k) {
    if (k + kRowAhead < candidates.size()) {
      __builtin_prefetch(&rows.rows[candidates[k + kRowAhead].position]);
    }
    if (k + kUserAhead < candidates.size()) {
      const ScoreRow& ahead = rows.rows[candidates[k + kUserAhead].position];
      __builtin_prefetch(&rows.users.records()[ahead.user]);
    }
    const RankCandidate& candidate = candidates[k];
    const ScoreRow& row = rows.rows[candidate.position];
    const UserRecord& user = rows.users.records()[row.user];
    TopEntry entry;
    entry.Name = std::string(user.Name.view());
    if (const SquadRecord* squad = rows.squads.Lookup(user.SquadID)) {
      entry.SquadName = squad->Name.view();
    }
    entry.ValueText = EntryText(kRules[list].text(row, candidate.value));
    entry.Value = candidate.value;
    entry.Id = user.UserID;
    entries.push_back(std::move(entry));
  }
  return TopList(std::move(entries));
}

TopList FilterPilotList(const PilotRows& rows, size_t list,
                        ProgressSink& progress) {
  PilotListsOn on{};
  on[list] = true;
  const RankedRows ranked = RankPilotLists(rows, on)[list];
  for (int dot = 0; dot < ranked.dots; ++dot) progress.Dot();
  return MakePilotList(rows, list, ranked);
}

}  // namespace tallyhawk

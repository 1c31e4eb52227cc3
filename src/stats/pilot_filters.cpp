#include "stats/pilot_filters.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "stats/filter_run.h"
#include "util/text_format.h"

namespace tallyhawk {

namespace {

// Rows of pilots with too few kills are left out of the per-kill lists.
enum class Rows { kEvery, kActive };

using ValueFn = double (*)(const ScoreRow&);
using TextFn = std::string (*)(const ScoreRow&, double value);

bool IsActive(const ScoreRow& score, uint32_t min_kills) {
  return score.Wins > 0 && score.Wins >= min_kills;
}

// Ranks the rows of one score ID; the progress counts their slots against
// the whole score table. The rule is a template argument, so that the walk
// over every row computes it inline.
template <Rows kRows, ValueFn kValue, TextFn kText>
TopList RankPilots(const PilotRows& input, ProgressSink& progress) {
  const ScoreRows score_rows = input.rows;
  return RankRecords(
      progress, input.TopX, score_rows.size(), input.score_slots,
      [&](size_t k) { return score_rows[k].slot; },
      [&](size_t k) -> std::optional<double> {
        const ScoreRow& score = score_rows[k];
        if (kRows == Rows::kActive && !IsActive(score, input.MinKills)) {
          return std::nullopt;
        }
        return kValue(score);
      },
      [&](size_t k, double ranked_value) {
        const ScoreRow& row = score_rows[k];
        const UserRecord& user = input.users.records()[row.user];
        TopEntry entry;
        entry.Name = std::string(user.Name.view());
        if (const SquadRecord* squad = input.squads.Lookup(user.SquadID)) {
          entry.SquadName = squad->Name.view();
        }
        entry.ValueText = EntryText(kText(row, ranked_value));
        entry.Value = ranked_value;
        return entry;
      });
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

}  // namespace

TopList FilterPilotTotalPoints(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots<Rows::kEvery, TotalPoints, DecimalText<0>>(rows, progress);
}

TopList FilterPilotFlagPoints(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots<Rows::kEvery, FlagPoints, DecimalText<0>>(rows, progress);
}

TopList FilterPilotKillPoints(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots<Rows::kEvery, KillPoints, DecimalText<0>>(rows, progress);
}

TopList FilterPilotAvgKill(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots<Rows::kActive, AvgKill, DecimalText<1>>(rows, progress);
}

TopList FilterPilotWins(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots<Rows::kEvery, Wins, DecimalText<0>>(rows, progress);
}

TopList FilterPilotLosses(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots<Rows::kEvery, Losses, DecimalText<0>>(rows, progress);
}

TopList FilterPilotRatio(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots<Rows::kActive, Ratio, RatioText>(rows, progress);
}

TopList FilterPilotRating(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots<Rows::kActive, Rating, DecimalText<0>>(rows, progress);
}

}  // namespace tallyhawk

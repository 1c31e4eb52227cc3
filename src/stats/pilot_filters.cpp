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

using ValueFn = double (*)(const ScoreRecord&);
using TextFn = std::string (*)(const ScoreRecord&, double value);

bool IsActive(const ScoreRecord& score, uint32_t min_kills) {
  return score.Wins > 0 && score.Wins >= min_kills;
}

// Ranks the rows of one score ID; the progress counts their slots against
// the whole score table.
TopList RankPilots(const PilotRows& input, ProgressSink& progress, Rows rows,
                   ValueFn value, TextFn text) {
  const std::vector<ScoreRow>& score_rows = input.rows;
  return RankRecords(
      progress, input.TopX, score_rows.size(), input.score_slots,
      [&](size_t k) { return score_rows[k].slot; },
      [&](size_t k) -> std::optional<double> {
        const ScoreRecord& score = *score_rows[k].score;
        if (rows == Rows::kActive && !IsActive(score, input.MinKills)) {
          return std::nullopt;
        }
        return value(score);
      },
      [&](size_t k, double ranked_value) {
        const ScoreRow& row = score_rows[k];
        TopEntry entry;
        entry.Name = std::string(row.user->Name.view());
        if (row.squad != nullptr) entry.SquadName = row.squad->Name.view();
        entry.ValueText = EntryText(text(*row.score, ranked_value));
        entry.Value = ranked_value;
        return entry;
      });
}

template <int kDecimals>
std::string DecimalText(const ScoreRecord&, double value) {
  return FixedText(value, kDecimals);
}

double TotalPoints(const ScoreRecord& score) {
  return static_cast<double>(static_cast<uint64_t>(score.KillPoints) +
                             score.FlagPoints);
}

double FlagPoints(const ScoreRecord& score) { return score.FlagPoints; }
double KillPoints(const ScoreRecord& score) { return score.KillPoints; }
double Wins(const ScoreRecord& score) { return score.Wins; }
double Losses(const ScoreRecord& score) { return score.Losses; }

double AvgKill(const ScoreRecord& score) {
  return static_cast<double>(score.KillPoints) / score.Wins;
}

// Undefeated pilots rank above every pilot with losses, and among
// themselves by kills.
double Ratio(const ScoreRecord& score) {
  if (score.Losses == 0) return score.Wins + 1000000.0;
  return static_cast<double>(score.Wins) / score.Losses;
}

std::string RatioText(const ScoreRecord& score, double value) {
  std::string counts = " (" + FormatUnsigned(score.Wins) + "/" +
                       FormatUnsigned(score.Losses) + ")";
  if (score.Losses == 0) return "---" + counts;
  return FixedText(value, 3) + counts;
}

// Whole-number arithmetic, truncated; 64-bit so large kill points never
// wrap.
double Rating(const ScoreRecord& score) {
  uint64_t lead = score.Wins > score.Losses ? score.Wins - score.Losses : 0;
  uint64_t rating = 10 * (score.KillPoints + 10 * lead) / (score.Wins + 100u);
  return static_cast<double>(rating);
}

}  // namespace

TopList FilterPilotTotalPoints(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots(rows, progress, Rows::kEvery, TotalPoints, DecimalText<0>);
}

TopList FilterPilotFlagPoints(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots(rows, progress, Rows::kEvery, FlagPoints, DecimalText<0>);
}

TopList FilterPilotKillPoints(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots(rows, progress, Rows::kEvery, KillPoints, DecimalText<0>);
}

TopList FilterPilotAvgKill(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots(rows, progress, Rows::kActive, AvgKill, DecimalText<1>);
}

TopList FilterPilotWins(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots(rows, progress, Rows::kEvery, Wins, DecimalText<0>);
}

TopList FilterPilotLosses(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots(rows, progress, Rows::kEvery, Losses, DecimalText<0>);
}

TopList FilterPilotRatio(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots(rows, progress, Rows::kActive, Ratio, RatioText);
}

TopList FilterPilotRating(const PilotRows& rows, ProgressSink& progress) {
  return RankPilots(rows, progress, Rows::kActive, Rating, DecimalText<0>);
}

}  // namespace tallyhawk

#include "stats/pilot_filters.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "run/text_format.h"
#include "stats/filter_run.h"

namespace tallyhawk {

namespace {

// Rows of pilots with too few kills are left out of the per-kill lists.
enum class Rows { kEvery, kActive };

using ValueFn = double (*)(const ScoreRecord&);
using TextFn = std::string (*)(const ScoreRecord&, double value);

bool IsActive(const ScoreRecord& score, uint32_t min_kills) {
  return score.Wins > 0 && score.Wins >= min_kills;
}

// Runs one pilot filter over the rows of the current score ID only; the
// progress still counts their slots against the whole score table.
void RunPilotFilter(RunContext& context, std::string_view message, Rows rows,
                    ValueFn value, TextFn text) {
  const std::vector<ScoreRow>& score_rows =
      context.databases.ScoreRows.RowsOf(context.CurrentScoreID);
  const uint32_t min_kills = context.settings.General.MinKills;
  RunFilter(
      context, message, score_rows.size(),
      context.databases.ScoreTable.SlotCount(),
      [&](size_t k) { return score_rows[k].slot; },
      [&](size_t k) -> std::optional<double> {
        const ScoreRecord& score = *score_rows[k].score;
        if (rows == Rows::kActive && !IsActive(score, min_kills)) {
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

void FilterPilotTotalPoints(RunContext& context) {
  RunPilotFilter(context, "Filtering pilot total points .", Rows::kEvery,
                 TotalPoints, DecimalText<0>);
}

void FilterPilotFlagPoints(RunContext& context) {
  RunPilotFilter(context, "Filtering pilot flag points .", Rows::kEvery,
                 FlagPoints, DecimalText<0>);
}

void FilterPilotKillPoints(RunContext& context) {
  RunPilotFilter(context, "Filtering pilot kill points .", Rows::kEvery,
                 KillPoints, DecimalText<0>);
}

void FilterPilotAvgKill(RunContext& context) {
  RunPilotFilter(context, "Filtering pilot avg kill points .", Rows::kActive,
                 AvgKill, DecimalText<1>);
}

void FilterPilotWins(RunContext& context) {
  RunPilotFilter(context, "Filtering pilot wins .", Rows::kEvery, Wins,
                 DecimalText<0>);
}

void FilterPilotLosses(RunContext& context) {
  RunPilotFilter(context, "Filtering pilot losses .", Rows::kEvery, Losses,
                 DecimalText<0>);
}

void FilterPilotRatio(RunContext& context) {
  RunPilotFilter(context, "Filtering pilot ratio .", Rows::kActive, Ratio,
                 RatioText);
}

void FilterPilotRating(RunContext& context) {
  RunPilotFilter(context, "Filtering pilot rating .", Rows::kActive, Rating,
                 DecimalText<0>);
}

}  // namespace tallyhawk

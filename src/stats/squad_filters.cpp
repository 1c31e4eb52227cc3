#include "stats/squad_filters.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "stats/filter_run.h"
#include "util/text_format.h"

namespace tallyhawk {

namespace {

// Which squads a list takes: small squads are listed only by size, and
// squads with too few kills are left out of the per-kill lists.
enum class Squads { kEvery, kSized, kActive };

using ValueFn = double (*)(const SquadStats&);
using TextFn = std::string (*)(const SquadStats&, double value);

bool IsTaken(const SquadStats& squad, Squads which, const SquadRows& input) {
  if (which == Squads::kEvery) return true;
  if (squad.Members < input.MinMembers) return false;
  if (which == Squads::kSized) return true;
  return squad.Wins > 0 && squad.Wins >= input.MinKills;
}

// The rule is a template argument, so that the walk over every squad
// computes it inline.
template <Squads kWhich, ValueFn kValue, TextFn kText>
TopList RankSquads(const SquadRows& input, ProgressSink& progress) {
  const SquadTableType& table = input.squads;
  const std::vector<SquadStats>& stats = input.stats;
  return RankRecords(
      progress, input.TopX, stats.size(), table.SlotCount(),
      [&](size_t k) { return table.ids()[k]; },
      [&](size_t k) -> std::optional<double> {
        if (!IsTaken(stats[k], kWhich, input)) return std::nullopt;
        return kValue(stats[k]);
      },
      [&](size_t k, double ranked_value) {
        TopEntry entry;
        entry.Name = std::string(table.records()[k].Name.view());
        entry.ValueText = EntryText(kText(stats[k], ranked_value));
        entry.Value = ranked_value;
        return entry;
      });
}

template <int kDecimals>
std::string DecimalText(const SquadStats&, double value) {
  return FixedText(value, kDecimals);
}

double TotalPoints(const SquadStats& squad) {
  return squad.KillPoints + squad.FlagPoints;
}

double AvgPoints(const SquadStats& squad) {
  return (squad.KillPoints + squad.FlagPoints) / squad.Members;
}

double AvgKill(const SquadStats& squad) {
  return squad.KillPoints / static_cast<double>(squad.Wins);
}

double Wins(const SquadStats& squad) { return static_cast<double>(squad.Wins); }

double Losses(const SquadStats& squad) {
  return static_cast<double>(squad.Losses);
}

double Members(const SquadStats& squad) { return squad.Members; }

// Undefeated squads rank above the others (as long as no ratio reaches a
// million), and among themselves by kills.
double Ratio(const SquadStats& squad) {
  if (squad.Losses == 0) return static_cast<double>(squad.Wins + 1000000);
  return static_cast<double>(squad.Wins) / static_cast<double>(squad.Losses);
}

// Unlike the pilot ratio, a squad's ratio shows no counts after it.
std::string RatioText(const SquadStats& squad, double value) {
  if (squad.Losses == 0) {
    return "--- (" + FormatUnsigned(squad.Wins) + "/" +
           FormatUnsigned(squad.Losses) + ")";
  }
  return FixedText(value, 3);
}

// The pilot rating without truncation.
double Rating(const SquadStats& squad) {
  uint64_t lead = squad.Wins > squad.Losses ? squad.Wins - squad.Losses : 0;
  return (static_cast<double>(100 * lead) + 10 * squad.KillPoints) /
         static_cast<double>(squad.Wins + 100);
}

}  // namespace

TopList FilterSquadTotalPoints(const SquadRows& rows, ProgressSink& progress) {
  return RankSquads<Squads::kSized, TotalPoints, DecimalText<0>>(rows, progress);
}

TopList FilterSquadAvgPoints(const SquadRows& rows, ProgressSink& progress) {
  return RankSquads<Squads::kActive, AvgPoints, DecimalText<2>>(rows, progress);
}

TopList FilterSquadAvgKill(const SquadRows& rows, ProgressSink& progress) {
  return RankSquads<Squads::kActive, AvgKill, DecimalText<1>>(rows, progress);
}

TopList FilterSquadWins(const SquadRows& rows, ProgressSink& progress) {
  return RankSquads<Squads::kSized, Wins, DecimalText<0>>(rows, progress);
}

TopList FilterSquadLosses(const SquadRows& rows, ProgressSink& progress) {
  return RankSquads<Squads::kSized, Losses, DecimalText<0>>(rows, progress);
}

TopList FilterSquadRatio(const SquadRows& rows, ProgressSink& progress) {
  return RankSquads<Squads::kActive, Ratio, RatioText>(rows, progress);
}

TopList FilterSquadRating(const SquadRows& rows, ProgressSink& progress) {
  return RankSquads<Squads::kActive, Rating, DecimalText<0>>(rows, progress);
}

TopList FilterSquadMembers(const SquadRows& rows, ProgressSink& progress) {
  return RankSquads<Squads::kEvery, Members, DecimalText<0>>(rows, progress);
}

}  // namespace tallyhawk

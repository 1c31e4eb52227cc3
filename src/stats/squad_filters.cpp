#include "stats/squad_filters.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "run/text_format.h"
#include "stats/filter_run.h"

namespace tallyhawk {

namespace {

// Which squads a list takes: small squads are listed only by size, and
// squads with too few kills are left out of the per-kill lists.
enum class Squads { kEvery, kSized, kActive };

using ValueFn = double (*)(const SquadRecord&);
using TextFn = std::string (*)(const SquadRecord&, double value);

bool IsTaken(const SquadRecord& squad, Squads which, const Settings& settings) {
  if (which == Squads::kEvery) return true;
  if (squad.Members < settings.Squad.MinMembers) return false;
  if (which == Squads::kSized) return true;
  return squad.Wins > 0 && squad.Wins >= settings.General.MinKills;
}

void RunSquadFilter(RunContext& context, std::string_view message, Squads which,
                    ValueFn value, TextFn text) {
  const SquadTableType& table = context.databases.SquadTable;
  const std::vector<SquadRecord>& squads = table.records();
  RunFilter(
      context, message, squads.size(), table.SlotCount(),
      [&](size_t k) { return table.ids()[k]; },
      [&](size_t k) -> std::optional<double> {
        if (!IsTaken(squads[k], which, context.settings)) return std::nullopt;
        return value(squads[k]);
      },
      [&](size_t k, double ranked_value) {
        TopEntry entry;
        entry.Name = std::string(squads[k].Name.view());
        entry.ValueText = EntryText(text(squads[k], ranked_value));
        entry.Value = ranked_value;
        return entry;
      });
}

template <int kDecimals>
std::string DecimalText(const SquadRecord&, double value) {
  return FixedText(value, kDecimals);
}

double TotalPoints(const SquadRecord& squad) {
  return squad.KillPoints + squad.FlagPoints;
}

double AvgPoints(const SquadRecord& squad) {
  return (squad.KillPoints + squad.FlagPoints) / squad.Members;
}

double AvgKill(const SquadRecord& squad) {
  return squad.KillPoints / static_cast<double>(squad.Wins);
}

double Wins(const SquadRecord& squad) {
  return static_cast<double>(squad.Wins);
}

double Losses(const SquadRecord& squad) {
  return static_cast<double>(squad.Losses);
}

double Members(const SquadRecord& squad) { return squad.Members; }

// Undefeated squads rank above the others (as long as no ratio reaches a
// million), and among themselves by kills.
double Ratio(const SquadRecord& squad) {
  if (squad.Losses == 0) return static_cast<double>(squad.Wins + 1000000);
  return static_cast<double>(squad.Wins) / static_cast<double>(squad.Losses);
}

// Unlike the pilot ratio, a squad's ratio shows no counts after it.
std::string RatioText(const SquadRecord& squad, double value) {
  if (squad.Losses == 0) {
    return "--- (" + FormatUnsigned(squad.Wins) + "/" +
           FormatUnsigned(squad.Losses) + ")";
  }
  return FixedText(value, 3);
}

// The pilot rating without truncation.
double Rating(const SquadRecord& squad) {
  uint64_t lead = squad.Wins > squad.Losses ? squad.Wins - squad.Losses : 0;
  return (static_cast<double>(100 * lead) + 10 * squad.KillPoints) /
         static_cast<double>(squad.Wins + 100);
}

}  // namespace

void FilterSquadTotalPoints(RunContext& context) {
  RunSquadFilter(context, "Filtering squad total points .", Squads::kSized,
                 TotalPoints, DecimalText<0>);
}

void FilterSquadAvgPoints(RunContext& context) {
  RunSquadFilter(context, "Filtering squad average points .", Squads::kActive,
                 AvgPoints, DecimalText<2>);
}

void FilterSquadAvgKill(RunContext& context) {
  RunSquadFilter(context, "Filtering squad average kill .", Squads::kActive,
                 AvgKill, DecimalText<1>);
}

void FilterSquadWins(RunContext& context) {
  RunSquadFilter(context, "Filtering squad wins .", Squads::kSized, Wins,
                 DecimalText<0>);
}

void FilterSquadLosses(RunContext& context) {
  RunSquadFilter(context, "Filtering squad losses .", Squads::kSized, Losses,
                 DecimalText<0>);
}

void FilterSquadRatio(RunContext& context) {
  RunSquadFilter(context, "Filtering squad ratio .", Squads::kActive, Ratio,
                 RatioText);
}

void FilterSquadRating(RunContext& context) {
  RunSquadFilter(context, "Filtering squad rating .", Squads::kActive, Rating,
                 DecimalText<0>);
}

void FilterSquadMembers(RunContext& context) {
  RunSquadFilter(context, "Filtering squad members .", Squads::kEvery, Members,
                 DecimalText<0>);
}

}  // namespace tallyhawk

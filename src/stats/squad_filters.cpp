#include "stats/squad_filters.h"

#include <cstdint>
#include <string>
#include <utility>

#include "stats/filter_run.h"
#include "util/text_format.h"

namespace tallyhawk {

namespace {

// Which squads a list takes: every one, those of at least MinMembers, or
// those that also have at least MinKills wins (and some).
enum class Squads { kEvery, kSized, kActive };

using ValueFn = double (*)(const SquadStats&);
using TextFn = std::string (*)(const SquadStats&, double value);

// A list's rule: the squads it takes, their value and the value's text.
struct SquadRule {
  Squads squads;
  ValueFn value;
  TextFn text;
};

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

// The rule of each list, in the order of kSquadLists.
constexpr SquadRule kRules[] = {
    {Squads::kSized, TotalPoints, DecimalText<0>},  // SqTotPts
    {Squads::kActive, AvgPoints, DecimalText<2>},   // SqAvgPts
    {Squads::kActive, AvgKill, DecimalText<1>},     // SqAvgKill
    {Squads::kSized, Wins, DecimalText<0>},         // SqWins
    {Squads::kSized, Losses, DecimalText<0>},       // SqLosses
    {Squads::kActive, Ratio, RatioText},            // SqRatio
    {Squads::kActive, Rating, DecimalText<0>},      // SqRating
    {Squads::kEvery, Members, DecimalText<0>},      // SqMembers
};
static_assert(std::size(kRules) == kSquadLists.size());

// Squad `k` for list `kList`; its rule is known at compile time, so that
// the walk computes it inline.
template <size_t kList>
void TakeSquad(RankedSelection& list, size_t k, const SquadStats& squad,
               bool sized, bool active) {
  constexpr SquadRule kRule = kRules[kList];
  if (kRule.squads == Squads::kSized && !sized) return;
  if (kRule.squads == Squads::kActive && !active) return;
  list.Offer(kRule.value(squad), k);
}

template <size_t... kList>
std::array<RankedRows, kSquadLists.size()> WalkSquads(
    const SquadRows& input, const SquadListsOn& on,
    std::index_sequence<kList...>) {
  const std::vector<SquadStats>& stats = input.stats;
  const std::vector<uint32_t>& ids = input.squads.ids();
  // A list that is off takes nothing, like one of TopX 0.
  RankedSelection lists[] = {
      RankedSelection(on[kList] ? input.TopX : 0, stats.size())...};
  // The dots depend only on which squads a list takes.
  const uint64_t slots = input.squads.SlotCount();
  DotWalk every_squad(slots);
  DotWalk sized_squad(slots);
  DotWalk active_squad(slots);
  for (size_t k = 0; k < stats.size(); ++k) {
    const SquadStats& squad = stats[k];
    const bool sized = squad.Members >= input.MinMembers;
    const bool active = sized && squad.Wins > 0 && squad.Wins >= input.MinKills;
    every_squad.Reach(ids[k]);
    if (sized) sized_squad.Reach(ids[k]);
    if (active) active_squad.Reach(ids[k]);
    (TakeSquad<kList>(lists[kList], k, squad, sized, active), ...);
  }
  const int dots[] = {every_squad.dots(), sized_squad.dots(),
                      active_squad.dots()};
  return {RankedRows{lists[kList].Take(),
                     dots[static_cast<int>(kRules[kList].squads)]}...};
}

}  // namespace

std::array<RankedRows, kSquadLists.size()> RankSquadLists(
    const SquadRows& rows, const SquadListsOn& on) {
  return WalkSquads(rows, on, std::make_index_sequence<kSquadLists.size()>());
}

TopList MakeSquadList(const SquadRows& rows, size_t list,
                      const RankedRows& ranked) {
  std::vector<TopEntry> entries;
  entries.reserve(ranked.ranked.size());
  const std::vector<RankCandidate>& candidates = ranked.ranked;
  // The candidates' squads are far apart in the table: each is fetched some
  // entries ahead.
  constexpr size_t kAhead = 8;
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (i + kAhead < candidates.size()) {
      __builtin_prefetch(
          &rows.squads.records()[candidates[i + kAhead].position]);
    }
    const RankCandidate& candidate = candidates[i];
    const size_t k = candidate.position;
    TopEntry entry;
    entry.Name = std::string(rows.squads.records()[k].Name.view());
    entry.ValueText =
        EntryText(kRules[list].text(rows.stats[k], candidate.value));
    entry.Value = candidate.value;
    entry.Id = rows.squads.ids()[k];
    entries.push_back(std::move(entry));
  }
  return TopList(std::move(entries));
}

TopList FilterSquadList(const SquadRows& rows, size_t list,
                        ProgressSink& progress) {
  SquadListsOn on{};
  on[list] = true;
  const RankedRows ranked = RankSquadLists(rows, on)[list];
  for (int dot = 0; dot < ranked.dots; ++dot) progress.Dot();
  return MakeSquadList(rows, list, ranked);
}

}  // namespace tallyhawk

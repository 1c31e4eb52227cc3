#include "report/json_document.h"

#include <initializer_list>
#include <limits>
#include <utility>

namespace tallyhawk {
namespace {

using Member = std::pair<std::string_view, std::string>;  // key, JSON value

// Members on one line: {"a": 1, "b": "x"}.
std::string InlineObject(std::initializer_list<Member> members) {
  std::string text = "{";
  for (const auto& [key, value] : members) {
    if (text.size() > 1) text += ", ";
    text.append("\"").append(key).append("\": ").append(value);
  }
  return text + "}";
}

// Members one per line at `indent`, the last one left open for an array.
std::string OpenObject(std::initializer_list<Member> members,
                       std::string_view last_key, std::string_view indent) {
  std::string text = "{\n";
  for (const auto& [key, value] : members) {
    text.append(indent).append("\"").append(key).append("\": ");
    text.append(value).append(",\n");
  }
  return text.append(indent).append("\"").append(last_key).append("\": [");
}

// Closes the array and the object that OpenObject opened; an empty array
// stays on the line of its key.
std::string CloseObject(bool empty, std::string_view indent) {
  if (empty) return "]\n" + std::string(indent) + "}";
  return "\n" + std::string(indent) + "  ]\n" + std::string(indent) + "}";
}

std::string Unsigned(uint64_t value) { return std::to_string(value); }

std::string TimeValue(const JsonTime& time) {
  return "\"" + IsoTimeText(time) + "\"";
}

// An undefeated ratio ranks by its kills plus a million, which is no ratio;
// its text shows "---", and its number is null.
std::string EntryValue(const TopEntry& entry) {
  if (entry.ValueText.starts_with("---")) return "null";
  return JsonNumber(entry.Value);
}

std::string EntryLine(uint32_t rank, const TopEntry& entry, PageKind kind) {
  if (kind == PageKind::kSquad) {
    return InlineObject({{"rank", Unsigned(rank)},
                         {"name", JsonString(entry.Name)},
                         {"value", EntryValue(entry)},
                         {"valueText", JsonString(entry.ValueText)}});
  }
  return InlineObject({{"rank", Unsigned(rank)},
                       {"name", JsonString(entry.Name)},
                       {"squadName", JsonString(entry.SquadName)},
                       {"value", EntryValue(entry)},
                       {"valueText", JsonString(entry.ValueText)}});
}

}  // namespace

StatsJson::StatsJson(uint32_t score_id, std::string_view zone_directory,
                     const Settings& settings)
    : score_id_(score_id),
      zone_directory_(JsonString(zone_directory)),
      settings_(InlineObject(
          {{"TopX", Unsigned(settings.General.TopX)},
           {"MinKills", Unsigned(settings.General.MinKills)},
           {"MinMembers", Unsigned(settings.Squad.MinMembers)},
           {"LastDays", std::to_string(settings.Usage.LastDays)}})) {}

void StatsJson::AddList(std::string_view key, std::string_view title,
                        PageKind kind, const TopList& list) {
  lists_ += lists_.empty() ? "\n    " : ",\n    ";
  lists_ += OpenObject(
      {{"key", JsonString(key)},
       {"title", JsonString(title)},
       {"kind", kind == PageKind::kPilot ? "\"pilot\"" : "\"squad\""}},
      "entries", "      ");
  uint32_t rank = 0;
  for (const TopEntry& entry : list.entries()) {
    lists_ += rank == 0 ? "\n        " : ",\n        ";
    lists_ += EntryLine(++rank, entry, kind);
  }
  lists_ += CloseObject(rank == 0, "    ");
}

std::string StatsJson::Text(const JsonTime& run_time) const {
  return OpenObject({{"scoreId", Unsigned(score_id_)},
                     {"zoneDirectory", zone_directory_},
                     {"runTime", TimeValue(run_time)},
                     {"settings", settings_}},
                    "lists", "  ") +
         lists_ + CloseObject(lists_.empty(), "") + "\n";
}

std::string UsageJsonText(const UsageSettings& usage, const UsageTotals& totals,
                          const JsonTime& run_time, const JsonTime& cut_off) {
  struct Figure {
    bool on;
    std::string_view key;
    std::string_view title;  // as the usage reports name it
    std::string value;
    bool windowed;  // counted from the cut-off on
  };
  // Without kills there is no average: null, where the reports show "---".
  const double average_kill =
      totals.kills == 0
          ? std::numeric_limits<double>::quiet_NaN()
          : totals.kill_points / static_cast<double>(totals.kills);
  const Figure figures[] = {
      {usage.DoAllPlayers, "AllPlayers", "Total Players",
       Unsigned(totals.players), false},
      {usage.DoActivePlayers, "ActivePlayers", "Active Players",
       Unsigned(totals.active), true},
      {usage.DoNewPlayers, "NewPlayers", "New Players",
       Unsigned(totals.new_players), true},
      {usage.DoAllSquads, "AllSquads", "Total Squads", Unsigned(totals.squads),
       false},
      {usage.DoAllPoints, "AllPoints", "Total Points",
       JsonNumber(totals.flag_points + totals.kill_points), false},
      {usage.DoAllKillPoints, "AllKillPoints", "Kill Points",
       JsonNumber(totals.kill_points), false},
      {usage.DoAllFlagPoints, "AllFlagPoints", "Flag Points",
       JsonNumber(totals.flag_points), false},
      {usage.DoAllKills, "AllKills", "Total Kills", Unsigned(totals.kills),
       false},
      {usage.DoAvgKill, "AvgKill", "Avg Kill", JsonNumber(average_kill), false},
  };
  std::string text = OpenObject(
      {{"runTime", TimeValue(run_time)},
       {"settings",
        InlineObject({{"LastDays", std::to_string(usage.LastDays)}})}},
      "figures", "  ");
  bool empty = true;
  for (const Figure& figure : figures) {
    if (!figure.on) continue;
    text += empty ? "\n    " : ",\n    ";
    empty = false;
    if (figure.windowed) {
      text += InlineObject({{"key", JsonString(figure.key)},
                            {"title", JsonString(figure.title)},
                            {"value", figure.value},
                            {"cutOff", TimeValue(cut_off)}});
    } else {
      text += InlineObject({{"key", JsonString(figure.key)},
                            {"title", JsonString(figure.title)},
                            {"value", figure.value}});
    }
  }
  return text + CloseObject(empty, "") + "\n";
}

}  // namespace tallyhawk

#include "config/settings.h"

#include "run/run_context.h"

namespace tallyhawk {

bool UserSettings::AnyOn() const {
  return DoTotalPoints || DoFlagPoints || DoKillPoints || DoAvgKill ||
         DoWins || DoLosses || DoRatio || DoRating;
}

bool SquadSettings::AnyOn() const {
  return DoTotalPoints || DoAvgPoints || DoAvgKill || DoWins || DoLosses ||
         DoRatio || DoRating || DoMembers;
}

bool UsageSettings::AnyOn() const {
  return DoActivePlayers || DoNewPlayers || DoAllPoints || DoAvgKill ||
         DoAllFlagPoints || DoAllKillPoints || DoAllKills || DoAllPlayers ||
         DoAllSquads;
}

// TODO(config): reading, template and LoadSettings.
void ParseSettings(std::string_view, Settings&) {}
void NormalizeDirectory(std::string&) {}
std::string SettingsTemplateText(const Settings&) { return ""; }
void LoadSettings(RunContext& context, bool) { context.settings = Settings(); }

}  // namespace tallyhawk

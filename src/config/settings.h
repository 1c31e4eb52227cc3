// The settings of a run, one field per key of the settings file, and the
// reading and template writing of that file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "util/status_output.h"

namespace tallyhawk {

struct GeneralSettings {
  std::string DatUser = "user.dat";
  std::string DatSquad = "squad.dat";
  std::string DatScore = "score.dat";
  uint32_t ScoreID = 0;
  uint32_t MinKills = 50;
  uint32_t TopX = 100;
};

struct UserSettings {
  bool DoTotalPoints = true;
  bool DoFlagPoints = true;
  bool DoKillPoints = true;
  bool DoAvgKill = true;
  bool DoWins = true;
  bool DoLosses = true;
  bool DoRatio = true;
  bool DoRating = true;
  bool AnyOn() const;
};

struct SquadSettings {
  uint32_t MinMembers = 5;
  bool DoTotalPoints = true;
  bool DoAvgPoints = true;
  bool DoAvgKill = true;
  bool DoWins = true;
  bool DoLosses = true;
  bool DoRatio = true;
  bool DoRating = true;
  bool DoMembers = true;
  bool AnyOn() const;
};

struct UsageSettings {
  int32_t LastDays = 30;
  bool DoActivePlayers = true;
  bool DoNewPlayers = true;
  bool DoAllPoints = true;
  bool DoAvgKill = true;
  bool DoAllFlagPoints = true;
  bool DoAllKillPoints = true;
  bool DoAllKills = true;
  bool DoAllPlayers = true;
  bool DoAllSquads = true;
  // Whether any of the nine figures is on (LastDays does not count).
  bool AnyOn() const;
};

struct OutputSettings {
  bool Text = false;
  bool HTML = false;
  bool HTMLGroup = true;
  bool Footer = true;
  std::string StyleSheet;
  std::string Directory;  // empty, or ending in the path separator
  bool UseSubDir = false;
  // Stats<scoreID>.json and Usage.json beside the reports. Read like every
  // flag, but left out of the template, whose text stays as it always was.
  bool JSON = false;
};

// The site: an index page, a page for every listed pilot and squad, made
// from templates. Its section is left out of the template, like JSON.
struct SiteSettings {
  bool Enabled = false;
  std::string Title = "Zone statistics";
  // A directory whose templates replace the built-in ones, file by file;
  // empty: the built-in ones.
  std::string Templates;
};

struct Settings {
  GeneralSettings General;
  UserSettings User;
  SquadSettings Squad;
  UsageSettings Usage;
  OutputSettings Output;
  SiteSettings Site;
};

// Longest text a setting value or a command-line file name holds.
constexpr size_t kMaxSettingLength = 127;

// A number of the settings file or the zone map: leading white space
// skipped, an optional sign, decimal digits up to the first other character
// (none gives 0), taken modulo 2^32 and then negated for a "-" sign.
uint32_t ParseSettingNumber(std::string_view text);

// Something in the settings that a run takes by the file's rules, but that is
// likely not what the admin meant: an unknown key, a number that is not one.
struct SettingsFinding {
  uint32_t line = 0;  // from 1; 0 for the settings as a whole
  std::string text;
};

// Reads settings-file text over `settings`. Never fails: every byte sequence
// is taken by the file's rules. What looks wrong is added to `findings`
// when given.
void ParseSettings(std::string_view text, Settings& settings,
                   std::vector<SettingsFinding>* findings = nullptr);

// Adds to `findings` what looks wrong in `settings` as a whole: a relative
// StyleSheet, which pages in subdirectories cannot share with Usage.html.
void CheckSettings(const Settings& settings,
                   std::vector<SettingsFinding>* findings);

// Appends the separator to a non-empty Directory that lacks it, replacing the
// last character when the value is already at its longest.
void NormalizeDirectory(std::string& directory);

// The 53-line template holding `settings` (lines end in "\n").
std::string SettingsTemplateText(const Settings& settings);

// The settings of `ini_file_name` over the defaults, with Directory ending in
// a separator. When the file is missing and `mayCreateTemplate` is true the
// template is written and the defaults are used; a file that exists but
// cannot be read ends the run. Findings are warned of on standard error.
Settings LoadSettings(Platform& platform, StatusOutput& status,
                      const std::string& ini_file_name, bool mayCreateTemplate);

}  // namespace tallyhawk

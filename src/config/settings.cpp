#include "config/settings.h"

#include <array>
#include <variant>
#include <vector>

#include "config/line_reader.h"
#include "util/fatal_error.h"
#include "util/text_format.h"

namespace tallyhawk {

bool UserSettings::AnyOn() const {
  return DoTotalPoints || DoFlagPoints || DoKillPoints || DoAvgKill || DoWins ||
         DoLosses || DoRatio || DoRating;
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

namespace {

enum class Section { kNone, kGeneral, kUser, kSquad, kUsage, kOutput };

constexpr std::array<std::pair<Section, std::string_view>, 5> kSections = {{
    {Section::kGeneral, "[General]"},
    {Section::kUser, "[User]"},
    {Section::kSquad, "[Squad]"},
    {Section::kUsage, "[Usage]"},
    {Section::kOutput, "[Output]"},
}};

using FieldRef = std::variant<std::string*, uint32_t*, int32_t*, bool*>;

struct KeyField {
  std::string_view key;
  FieldRef field;
  bool in_template = true;
};

// The keys of one section in the order of the template.
std::vector<KeyField> SectionFields(Settings& s, Section section) {
  switch (section) {
    case Section::kGeneral: {
      GeneralSettings& g = s.General;
      return {{"DatUser", &g.DatUser},   {"DatSquad", &g.DatSquad},
              {"DatScore", &g.DatScore}, {"ScoreID", &g.ScoreID},
              {"MinKills", &g.MinKills}, {"TopX", &g.TopX}};
    }
    case Section::kUser: {
      UserSettings& u = s.User;
      return {{"DoTotalPoints", &u.DoTotalPoints},
              {"DoFlagPoints", &u.DoFlagPoints},
              {"DoKillPoints", &u.DoKillPoints},
              {"DoAvgKill", &u.DoAvgKill},
              {"DoWins", &u.DoWins},
              {"DoLosses", &u.DoLosses},
              {"DoRatio", &u.DoRatio},
              {"DoRating", &u.DoRating}};
    }
    case Section::kSquad: {
      SquadSettings& q = s.Squad;
      return {
          {"MinMembers", &q.MinMembers},   {"DoTotalPoints", &q.DoTotalPoints},
          {"DoAvgPoints", &q.DoAvgPoints}, {"DoAvgKill", &q.DoAvgKill},
          {"DoWins", &q.DoWins},           {"DoLosses", &q.DoLosses},
          {"DoRatio", &q.DoRatio},         {"DoRating", &q.DoRating},
          {"DoMembers", &q.DoMembers}};
    }
    case Section::kUsage: {
      UsageSettings& u = s.Usage;
      return {{"LastDays", &u.LastDays},
              {"DoActivePlayers", &u.DoActivePlayers},
              {"DoNewPlayers", &u.DoNewPlayers},
              {"DoAllPoints", &u.DoAllPoints},
              {"DoAvgKill", &u.DoAvgKill},
              {"DoAllFlagPoints", &u.DoAllFlagPoints},
              {"DoAllKillPoints", &u.DoAllKillPoints},
              {"DoAllKills", &u.DoAllKills},
              {"DoAllPlayers", &u.DoAllPlayers},
              {"DoAllSquads", &u.DoAllSquads}};
    }
    case Section::kOutput: {
      OutputSettings& o = s.Output;
      return {{"Text", &o.Text},
              {"HTML", &o.HTML},
              {"HTMLGroup", &o.HTMLGroup},
              {"Footer", &o.Footer},
              {"StyleSheet", &o.StyleSheet},
              {"Directory", &o.Directory},
              {"UseSubDir", &o.UseSubDir},
              {"JSON", &o.JSON, false}};
    }
    case Section::kNone:
      break;
  }
  return {};
}

// Only an exact header names a section; anything else after "[" (other case,
// trailing characters) leaves the following keys without a section.
Section SectionOfHeader(std::string_view line) {
  for (const auto& [section, header] : kSections) {
    if (line == header) return section;
  }
  return Section::kNone;
}

struct FieldSetter {
  std::string_view value;
  void operator()(std::string* field) const {
    *field = std::string(value.substr(0, kMaxSettingLength));
  }
  void operator()(uint32_t* field) const { *field = ParseSettingNumber(value); }
  void operator()(int32_t* field) const {
    *field = static_cast<int32_t>(ParseSettingNumber(value));
  }
  // Only a leading digit 0 switches a flag off; "false", "no" or an empty
  // value leave it on.
  void operator()(bool* field) const {
    *field = value.empty() || value.front() != '0';
  }
};

void ApplyKeyLine(Settings& settings, Section section, std::string_view line) {
  size_t equals = line.find('=');
  // A key without "=" has no value to take; the field keeps what it holds.
  if (equals == std::string_view::npos) return;
  std::string_view key = line.substr(0, equals);
  for (const KeyField& entry : SectionFields(settings, section)) {
    if (entry.key == key) {
      std::visit(FieldSetter{line.substr(equals + 1)}, entry.field);
      return;
    }
  }
}

struct FieldText {
  std::string operator()(std::string* field) const { return *field; }
  std::string operator()(uint32_t* field) const {
    return FormatUnsigned(*field);
  }
  std::string operator()(int32_t* field) const {
    return std::to_string(*field);
  }
  std::string operator()(bool* field) const { return *field ? "1" : "0"; }
};

void WriteSettingsTemplate(Platform& platform, StatusOutput& status,
                           const std::string& name, const Settings& settings) {
  status.line() << "Settings not found, creating '" << name << "' ... ";
  status.PrintStatusLine();
  // Written under a temporary name and renamed into place when complete, so
  // that a failed write leaves no template that a later run would read.
  std::unique_ptr<OutputFile> file = platform.CreateAtomicFile(name);
  if (!file || !WriteWithCrLf(*file, SettingsTemplateText(settings)) ||
      !file->Commit()) {
    throw FatalError("Unable to create INI template, exiting");
  }
}

}  // namespace

uint32_t ParseSettingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCWhiteSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Unsigned arithmetic wraps modulo 2^32, which is the documented result
  // for values too large for 32 bits.
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  }
  return negative ? 0u - value : value;
}

void ParseSettings(std::string_view text, Settings& settings) {
  LineReader reader(text);
  Section section = Section::kNone;
  std::string_view line;
  while (reader.Next(&line)) {
    if (line.starts_with("//")) continue;
    if (line.starts_with("[")) {
      section = SectionOfHeader(line);
    } else {
      ApplyKeyLine(settings, section, line);
    }
  }
}

void NormalizeDirectory(std::string& directory) {
  if (directory.empty() || IsPathSeparator(directory.back())) return;
  // A value at its longest has no room for one more character, so the
  // separator takes the place of the last one.
  if (directory.size() >= kMaxSettingLength) {
    directory.resize(kMaxSettingLength);
    directory.back() = PathSeparator();
  } else {
    directory.push_back(PathSeparator());
  }
}

std::string SettingsTemplateText(const Settings& settings) {
  // The field table hands out writable fields, so it reads from a copy.
  Settings values = settings;
  std::string text =
      "// Tallyhawk INI Template\n"
      "// This file is automatically generated if it doesn't exist\n"
      "// Any lines beginning with // are treated as comments\n";
  for (const auto& [section, header] : kSections) {
    text.append("\n").append(header).append("\n");
    for (const KeyField& entry : SectionFields(values, section)) {
      if (!entry.in_template) continue;
      text.append(entry.key).append("=");
      text.append(std::visit(FieldText{}, entry.field)).append("\n");
    }
  }
  return text;
}

Settings LoadSettings(Platform& platform, StatusOutput& status,
                      const std::string& ini_file_name,
                      bool mayCreateTemplate) {
  Settings settings;
  std::string text;
  const ReadResult read = ReadWholeFile(platform, ini_file_name, &text);
  if (read == ReadResult::kRead) {
    status.line() << "Loading settings from '" << ini_file_name << "' ... ";
    status.PrintStatusLine();
    ParseSettings(text, settings);
  } else if (read == ReadResult::kMissing && mayCreateTemplate) {
    WriteSettingsTemplate(platform, status, ini_file_name, settings);
  } else {
    // A file that exists but cannot be read holds the admin's settings: it
    // is never replaced by the template.
    throw FatalError("Unable to load configuration settings, exiting");
  }
  NormalizeDirectory(settings.Output.Directory);
  status.PrintStatus("Done\n");
  return settings;
}

}  // namespace tallyhawk

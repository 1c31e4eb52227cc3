#include "config/settings.h"

#include <array>
#include <limits>
#include <optional>
#include <variant>
#include <vector>

#include "config/line_reader.h"
#include "util/diagnostic.h"
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

enum class Section { kNone, kGeneral, kUser, kSquad, kUsage, kOutput, kSite };

constexpr std::array<std::pair<Section, std::string_view>, 6> kSections = {{
    {Section::kGeneral, "[General]"},
    {Section::kUser, "[User]"},
    {Section::kSquad, "[Squad]"},
    {Section::kUsage, "[Usage]"},
    {Section::kOutput, "[Output]"},
    {Section::kSite, "[Site]"},
}};

// The sections of the template: the ones an earlier program knew. [Site]
// came later, and the template's text stays as it always was.
constexpr size_t kTemplateSections = 5;

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
    case Section::kSite: {
      SiteSettings& site = s.Site;
      return {{"Enabled", &site.Enabled, false},
              {"Title", &site.Title, false},
              {"Templates", &site.Templates, false}};
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

// Whether `text` is a decimal number as the template writes it, from `low`
// to `high`.
bool IsPlainDecimal(std::string_view text, int64_t low, int64_t high) {
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 10 ||
      text.find_first_not_of("0123456789") != std::string_view::npos) {
    return false;
  }
  const int64_t magnitude = std::stoll(std::string(text));
  const int64_t value = negative ? -magnitude : magnitude;
  return value >= low && value <= high;
}

// What looks wrong in a value that a key line gave its field, which now
// holds what the run uses; nothing when the value is as the template has it.
struct ValueCheck {
  std::string_view line;
  std::string_view value;

  // Every text setting is a path or address, whose white space at either end
  // would be part of the name.
  std::optional<std::string> operator()(std::string* field) const {
    if (field->empty() ||
        (!IsCWhiteSpace(field->front()) && !IsCWhiteSpace(field->back()))) {
      return std::nullopt;
    }
    return Quoted(line) +
           " begins or ends with white space, which is part of the name";
  }
  std::optional<std::string> operator()(uint32_t* field) const {
    if (IsPlainDecimal(value, 0, std::numeric_limits<uint32_t>::max())) {
      return std::nullopt;
    }
    return Quoted(line) +
           " is not a plain decimal number from 0 to 4294967295; " +
           FormatUnsigned(*field) + " is used";
  }
  std::optional<std::string> operator()(int32_t* field) const {
    if (IsPlainDecimal(value, std::numeric_limits<int32_t>::min(),
                       std::numeric_limits<int32_t>::max())) {
      return std::nullopt;
    }
    return Quoted(line) +
           " is not a plain decimal number from -2147483648 to 2147483647; " +
           std::to_string(*field) + " is used";
  }
  std::optional<std::string> operator()(bool* field) const {
    if (value == "0" || value == "1") return std::nullopt;
    return Quoted(line) + " is not 0 or 1; " + (*field ? "1" : "0") +
           " is used";
  }
};

// Sets the field that `line` names, and tells what looks wrong in it.
std::optional<std::string> ApplyKeyLine(Settings& settings, Section section,
                                        std::string_view line) {
  size_t equals = line.find('=');
  // A key without "=" has no value to take; the field keeps what it holds.
  if (equals == std::string_view::npos) {
    return Quoted(line) + " has no '=', so it sets nothing";
  }
  std::string_view key = line.substr(0, equals);
  const std::string_view value = line.substr(equals + 1);
  for (const KeyField& entry : SectionFields(settings, section)) {
    if (entry.key == key) {
      std::visit(FieldSetter{value}, entry.field);
      return std::visit(ValueCheck{line, value}, entry.field);
    }
  }
  return "unknown key " + Quoted(key) + " in " +
         std::string(kSections[static_cast<size_t>(section) - 1].second) +
         ", ignored";
}

// Keeps the findings of the lines read, when the caller asked for them.
class FindingList {
 public:
  explicit FindingList(std::vector<SettingsFinding>* findings)
      : findings_(findings) {}
  void Add(uint32_t line, std::optional<std::string> text) {
    if (findings_ && text) findings_->push_back({line, std::move(*text)});
  }

 private:
  std::vector<SettingsFinding>* findings_;
};

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
    throw FileError("Unable to create INI template, exiting", name,
                    "cannot create the settings template");
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

void ParseSettings(std::string_view text, Settings& settings,
                   std::vector<SettingsFinding>* findings) {
  LineReader reader(text);
  FindingList found(findings);
  Section section = Section::kNone;
  bool after_header = false;
  std::string_view line;
  while (reader.Next(&line)) {
    const uint32_t number = reader.line_number();
    if (reader.cut()) {
      found.Add(number,
                "the line is longer than 127 characters: the rest "
                "is read as a line of its own");
    }
    if (line.starts_with("//")) continue;
    if (line.starts_with("[")) {
      section = SectionOfHeader(line);
      after_header = true;
      if (section == Section::kNone) {
        found.Add(number, "unknown section " + Quoted(line) +
                              ": the keys after it are ignored (the "
                              "sections are [General], [User], [Squad], "
                              "[Usage], [Output] and [Site])");
      }
    } else if (section != Section::kNone) {
      found.Add(number, ApplyKeyLine(settings, section, line));
    } else if (!after_header) {
      found.Add(number, Quoted(line) +
                            " comes before the first section, "
                            "ignored");
    }
  }
}

void CheckSettings(const Settings& settings,
                   std::vector<SettingsFinding>* findings) {
  const std::string& style_sheet = settings.Output.StyleSheet;
  // An address with a scheme or from the root works from every page.
  const bool relative = !style_sheet.empty() && style_sheet[0] != '/' &&
                        style_sheet[0] != '\\' &&
                        style_sheet.find(':') == std::string::npos;
  if (relative && settings.Output.UseSubDir) {
    findings->push_back(
        {0, "StyleSheet " + Quoted(style_sheet) +
                " is relative, but with UseSubDir=1 the pages of each score "
                "ID sit one directory below Usage.html, so one of them "
                "misses it; give it from the web root, as /tallyhawk.css"});
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
  for (size_t i = 0; i < kTemplateSections; ++i) {
    const auto& [section, header] = kSections[i];
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
  std::vector<SettingsFinding> findings;
  const ReadResult read = ReadWholeFile(platform, ini_file_name, &text);
  if (read == ReadResult::kRead) {
    status.line() << "Loading settings from '" << ini_file_name << "' ... ";
    status.PrintStatusLine();
    ParseSettings(text, settings, &findings);
  } else if (read == ReadResult::kMissing && mayCreateTemplate) {
    WriteSettingsTemplate(platform, status, ini_file_name, settings);
  } else {
    // A file that exists but cannot be read holds the admin's settings: it
    // is never replaced by the template.
    throw FileError(
        "Unable to load configuration settings, exiting", ini_file_name,
        read == ReadResult::kMissing ? "cannot open the settings file"
                                     : "cannot read the settings file");
  }
  NormalizeDirectory(settings.Output.Directory);
  status.PrintStatus("Done\n");
  CheckSettings(settings, &findings);
  for (const SettingsFinding& finding : findings) {
    status.Warn({ini_file_name, finding.line, finding.text, ""});
  }
  return settings;
}

}  // namespace tallyhawk

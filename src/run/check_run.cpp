#include "run/check_run.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings.h"
#include "config/zone_dirs.h"
#include "db/databases.h"
#include "db/records.h"
#include "db/score_ids.h"
#include "report/report_frame.h"
#include "site/site_templates.h"
#include "stats/pilot_filters.h"
#include "stats/squad_filters.h"
#include "util/diagnostic.h"
#include "util/fatal_error.h"
#include "util/status_output.h"
#include "util/text_format.h"

namespace tallyhawk {
namespace {

// Prints what the check finds as it goes, and counts the findings.
class CheckReport {
 public:
  explicit CheckReport(Platform& platform) : platform_(platform) {}

  void Say(std::string_view text) { platform_.WriteConsole(text); }
  void Find(Severity severity, const Diagnostic& diagnostic) {
    ++(severity == Severity::kError ? errors_ : warnings_);
    Say(DiagnosticLine(severity, diagnostic, platform_.WorkingDirectory()));
  }
  void Warn(const Diagnostic& diagnostic) {
    Find(Severity::kWarning, diagnostic);
  }
  // A finding that would stop a run: about `file`, with the platform's
  // reason for the operation that just failed.
  void Fail(const std::string& file, const std::string& what) {
    Find(Severity::kError, {file, 0, what, LastFailure()});
  }

  // "1 report", "2 reports".
  static std::string Count(size_t n, const std::string& noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
  }

  // The closing line, and the exit code.
  int Conclude() {
    if (errors_ > 0) {
      Say("A run would fail: " + Count(errors_, "error") + ", " +
          Count(warnings_, "warning") + ".\n");
      return 1;
    }
    if (warnings_ > 0) {
      Say("A run would succeed, with " + Count(warnings_, "warning") + ".\n");
      return 2;
    }
    Say("A run would succeed.\n");
    return 0;
  }

 private:
  Platform& platform_;
  size_t errors_ = 0;
  size_t warnings_ = 0;
};

// A directory as the check names it: quoted, or the working directory.
std::string DirectoryText(const std::string& directory) {
  return directory.empty() ? "the working directory" : Quoted(directory);
}

// The settings a run would use, or none when reading them would stop it.
std::optional<Settings> CheckSettingsFile(const RunOptions& options,
                                          Platform& platform,
                                          CheckReport& report) {
  const std::string& name = options.IniFileName;
  Settings settings;
  std::string text;
  switch (ReadWholeFile(platform, name, &text)) {
    case ReadResult::kRead: {
      report.Say("Settings: " + Quoted(name) + "\n");
      std::vector<SettingsFinding> findings;
      ParseSettings(text, settings, &findings);
      NormalizeDirectory(settings.Output.Directory);
      CheckSettings(settings, &findings);
      for (const SettingsFinding& finding : findings) {
        report.Warn({name, finding.line, finding.text, ""});
      }
      return settings;
    }
    case ReadResult::kMissing:
      if (!options.mayCreateTemplate) {
        report.Fail(name, "cannot open the settings file");
        return std::nullopt;
      }
      if (!platform.CanWriteFile(name)) {
        report.Fail(name, "cannot create the settings template");
        return std::nullopt;
      }
      report.Say("Settings: " + Quoted(name) +
                 " is missing: a run writes it with every default, and uses "
                 "those\n");
      return settings;
    case ReadResult::kUnreadable:
      break;
  }
  report.Fail(name, "cannot read the settings file");
  return std::nullopt;
}

// The zone map's text as the run's lookups would read it, or none when they
// would stop the run.
std::optional<std::string> CheckZoneMap(const RunOptions& options,
                                        Platform& platform,
                                        CheckReport& report) {
  const std::string& name = options.ZoneInfoFileName;
  std::string text;
  switch (ReadWholeFile(platform, name, &text)) {
    case ReadResult::kRead:
      report.Say("Zone map: " + Quoted(name) + "\n");
      return text;
    case ReadResult::kMissing:
      if (!platform.CanWriteFile(name)) {
        report.Fail(name, "cannot create the zone map template");
        return std::nullopt;
      }
      report.Say("Zone map: " + Quoted(name) +
                 " is missing: a run writes its template\n");
      return ZoneInfoTemplateText();
    case ReadResult::kUnreadable:
      break;
  }
  report.Fail(name, "cannot read the zone map");
  return std::nullopt;
}

struct DatabaseFile {
  const char* kind;  // "user", "squad", "score"
  const std::string& path;
  size_t record_size;
};

// Opens each database and tells its record count; false when one cannot be
// opened.
bool CheckDatabaseFiles(const GeneralSettings& general, Platform& platform,
                        CheckReport& report) {
  const DatabaseFile files[] = {{"user", general.DatUser, kUserRecordSize},
                                {"squad", general.DatSquad, kSquadRecordSize},
                                {"score", general.DatScore, kScoreRecordSize}};
  bool opened = true;
  for (const DatabaseFile& file : files) {
    const std::unique_ptr<InputFile> input = platform.OpenInput(file.path);
    if (!input) {
      report.Fail(file.path,
                  std::string("cannot open the ") + file.kind + " database");
      opened = false;
      continue;
    }
    const uint64_t size = input->SizeHint();
    report.Say("Database: " + Quoted(file.path) + ", " +
               CheckReport::Count(size / file.record_size,
                                  std::string(file.kind) + " record") +
               "\n");
    const std::string partial = PartialRecordText(size, file.record_size);
    if (!partial.empty()) report.Warn({file.path, 0, partial, ""});
  }
  return opened;
}

// The files a score ID's pass would write, as the writers name them.
std::vector<std::string> ScoreIdReports(const ReportScope& scope,
                                        bool pilots_on, bool squads_on) {
  const OutputSettings& output = scope.settings.Output;
  std::vector<std::string> paths;
  const auto add_lists = [&](const auto& lists, const auto& flags,
                             std::string_view grouped) {
    for (const auto& list : lists) {
      if (!(flags.*list.flag)) continue;
      if (output.Text)
        paths.push_back(FormReportPath(scope, list.ListName, ".txt"));
      if (output.HTML) {
        paths.push_back(FormReportPath(scope, list.ListName, ".html"));
      }
    }
    if (output.HTMLGroup)
      paths.push_back(FormReportPath(scope, grouped, ".html"));
  };
  if (pilots_on) add_lists(kPilotLists, scope.settings.User, "PilotStats");
  if (squads_on) add_lists(kSquadLists, scope.settings.Squad, "SquadStats");
  if (output.JSON) paths.push_back(FormReportPath(scope, "Stats", ".json"));
  return paths;
}

// Whether every file of `paths` could be written. Tells of the first that
// could not in each directory (the others there likely fail alike), and
// keeps that directory in `failed` so as not to tell of it again.
void CheckReports(const std::vector<std::string>& paths, Platform& platform,
                  CheckReport& report, std::set<std::string>& failed) {
  for (const std::string& path : paths) {
    const std::string directory = SplitDirectory(path).first;
    if (failed.contains(directory)) continue;
    if (!platform.CanWriteFile(path)) {
      report.Fail(path, "cannot create the report");
      failed.insert(directory);
    }
  }
}

// Where each score ID's reports, and the usage report, would go, and
// whether they could.
void CheckOutputs(const Settings& settings, const std::string& zone_map,
                  const Databases& databases, const ScoreIdList& score_ids,
                  Platform& platform, CheckReport& report) {
  StatusOutput silent(platform, true, true);
  std::set<std::string> failed;
  const OutputSettings& output = settings.Output;
  const bool pilots_on =
      databases.UserTable.SlotCount() > 0 && settings.User.AnyOn();
  const bool squads_on =
      databases.SquadTable.SlotCount() > 0 && settings.Squad.AnyOn();
  for (uint32_t score_id : score_ids.ids()) {
    std::string name;
    if (!FindZoneDirName(zone_map, score_id, &name)) {
      name = FormatUnsigned(score_id);
    }
    const std::string directory = ScoreIdDirOf(output.Directory, name);
    const ReportScope scope{platform, silent, settings, score_id, directory};
    const std::vector<std::string> paths =
        ScoreIdReports(scope, pilots_on, squads_on);
    report.Say("Score ID " + FormatUnsigned(score_id) + ": " +
               CheckReport::Count(paths.size(), "report") + " in " +
               DirectoryText(output.UseSubDir ? directory : output.Directory) +
               "\n");
    DirectoryProbe probe = DirectoryProbe::kExists;
    if (output.UseSubDir && !directory.empty()) {
      probe = platform.ProbeDirectory(directory);
      if (probe == DirectoryProbe::kRefused) {
        report.Fail(directory, "cannot create the subdirectory");
      }
    }
    // A directory still to be made will take its reports.
    if (probe == DirectoryProbe::kExists) {
      CheckReports(paths, platform, report, failed);
    }
  }
  if (databases.UserTable.SlotCount() == 0 || !settings.Usage.AnyOn()) return;
  std::vector<std::string> usage;
  if (output.Text) usage.push_back(output.Directory + "Usage.txt");
  if (output.HTML || output.HTMLGroup) {
    usage.push_back(output.Directory + "Usage.html");
  }
  if (output.JSON) usage.push_back(output.Directory + "Usage.json");
  report.Say("Usage: " + CheckReport::Count(usage.size(), "report") + " in " +
             DirectoryText(output.Directory) + "\n");
  CheckReports(usage, platform, report, failed);
}

// Whether the site is on, where it goes and which templates it uses; a
// template that does not parse would stop the run.
void CheckSite(const Settings& settings, Platform& platform,
               CheckReport& report) {
  const SiteSettings& site = settings.Site;
  if (!site.Enabled) {
    report.Say("Site: off\n");
    return;
  }
  const std::string& directory = settings.Output.Directory;
  report.Say("Site: on, titled " + Quoted(site.Title) +
             ": index.html, pilots/ and squads/ in " +
             DirectoryText(directory) + "\n");
  std::vector<Diagnostic> problems;
  const SiteTemplates templates = ReadSiteTemplates(platform, site, &problems);
  std::string origins;
  for (const SiteTemplate* page :
       {&templates.index, &templates.pilot, &templates.squad}) {
    origins += (origins.empty() ? "" : ", ") + page->name + " " +
               (page->origin.empty() ? std::string("built in")
                                     : "from " + Quoted(page->origin));
  }
  report.Say("Site templates: " + origins + "\n");
  for (const Diagnostic& problem : problems) {
    report.Find(Severity::kError, problem);
  }
  const std::string index = directory + "index.html";
  if (!platform.CanWriteFile(index))
    report.Fail(index, "cannot create the report");
}

// Loads the databases as a run would, silently, and collects the score IDs;
// then checks where the reports would go.
void CheckZone(const Settings& settings, const std::string& zone_map,
               Platform& platform, CheckReport& report) {
  StatusOutput silent(platform, true, true);
  silent.RedirectDiagnostics([](Severity, const Diagnostic&) {});
  Databases databases;
  databases.UserTable.MakeReady();
  databases.SquadTable.MakeReady();
  databases.ScoreTable.MakeReady();
  try {
    LoadDatabases(platform, silent, settings.General, databases);
  } catch (const FatalError& error) {
    report.Find(Severity::kError, error.detail());
    return;
  }
  const ScoreIdList score_ids =
      CollectScoreIds(silent, databases, settings.General.ScoreID);
  std::string ids;
  for (uint32_t score_id : score_ids.ids()) {
    ids.append(ids.empty() ? "" : ", ").append(FormatUnsigned(score_id));
  }
  report.Say("Score IDs: " + (ids.empty() ? std::string("none") : ids) + "\n");
  CheckOutputs(settings, zone_map, databases, score_ids, platform, report);
}

}  // namespace

int CheckRun(const RunOptions& options, Platform& platform) {
  CheckReport report(platform);
  for (const std::string& warning : options.warnings) {
    report.Warn({"", 0, "command line: " + warning, ""});
  }
  const std::optional<Settings> settings =
      CheckSettingsFile(options, platform, report);
  if (settings) CheckSite(*settings, platform, report);
  if (!options.veryquiet && !platform.CanWriteFile(options.LogFileName)) {
    report.Find(Severity::kWarning,
                {options.LogFileName, 0,
                 "cannot open the log; a run keeps none", LastFailure()});
  }
  const std::optional<std::string> zone_map =
      CheckZoneMap(options, platform, report);
  if (settings && CheckDatabaseFiles(settings->General, platform, report) &&
      zone_map) {
    CheckZone(*settings, *zone_map, platform, report);
  }
  return report.Conclude();
}

}  // namespace tallyhawk

#include "run/run_driver.h"

#include <future>
#include <optional>
#include <string>

#include "config/settings.h"
#include "config/zone_dirs.h"
#include "db/databases.h"
#include "db/score_ids.h"
#include "report/report_frame.h"
#include "report/usage_report.h"
#include "run/check_run.h"
#include "run/command_line.h"
#include "run/help_text.h"
#include "run/run_context.h"
#include "run/score_id_pass.h"
#include "site/site_templates.h"
#include "site/site_writer.h"
#include "stats/usage_stats.h"
#include "util/fatal_error.h"
#include "util/text_format.h"
#include "util/version.h"

namespace tallyhawk {
namespace {

// Always in the working directory.
constexpr char kErrorFileName[] = "tallyhawk.err";

void PrintBanner(StatusOutput& status) {
  status.line() << VersionLine();
  status.PrintStatusLine();
  status.PrintStatus("by Brannoch\n");
}

// Releases what the run holds and closes the log. A grouped page that was
// being written is gone already: unwinding dropped it with its temporary
// file.
void CleanUp(RunContext& context) {
  context.score_ids.ClearScoreIdList();
  context.status.CloseLog();
}

// The databases are known once the settings are (their defaults, when the
// settings could not be loaded). From then on no output may replace or empty
// one of them, and the log, held unemptied until then, starts.
void GuardDatabases(RunContext& context) {
  const GeneralSettings& general = context.settings.General;
  context.platform.ProtectInputs(
      {general.DatUser, general.DatSquad, general.DatScore});
  context.status.StartLog();
}

// Writes the error file, which holds exactly one error; true when all of it
// is in place.
bool WriteErrorFile(Platform& platform, const std::string& text) {
  std::unique_ptr<OutputFile> file = platform.CreateFile(kErrorFileName);
  // Both run, so that a file that could not be written is still closed.
  const bool written = file && WriteWithCrLf(*file, text);
  return file && file->Commit() && written;
}

void ReportFatalError(RunContext& context, const FatalError& error) {
  const int64_t now = context.platform.Now();
  const std::string message = error.what();
  StatusOutput& status = context.status;
  status.ResetStatusLine();
  GuardDatabases(context);
  status.line() << "ERROR: " << message << "\n";
  status.PrintStatusLine();
  Diagnostic detail = error.detail();
  if (detail.text.empty()) detail.text = message;
  status.Error(detail);
  if (WriteErrorFile(
          context.platform,
          DateText(context.platform.ToLocalTime(now)) + message + "\n\n")) {
    status.PrintStatus(
        "*** Error occurred, exiting.  (Logged to error file)\n");
  } else {
    status.Error(
        {kErrorFileName, 0, "cannot write the error file", LastFailure()});
    status.PrintStatus(
        "*** Error occurred, exiting.  (Unable to write error file)\n");
  }
  CleanUp(context);
}

void PrintOutputChoices(RunContext& context) {
  const OutputSettings& output = context.settings.Output;
  StatusOutput& status = context.status;
  if (!output.Directory.empty()) {
    status.line() << "Using output directory " << output.Directory << "\n";
    status.PrintStatusLine();
  }
  if (!output.StyleSheet.empty()) {
    status.line() << "Style sheet defined: " << output.StyleSheet << "\n";
    status.PrintStatusLine();
  }
  if (output.UseSubDir) {
    status.PrintStatus("Using subdirectories\n");
    CreateScoreIdSubdirectories(context.Zones(), context.score_ids.ids());
  }
}

UsageTotals RunUsageReport(RunContext& context) {
  const int64_t now = context.platform.Now();
  context.status.PrintStatus("Compiling usage stats ...");
  const UsageTotals totals = CompileUsageStats(
      context.databases, context.settings.Usage, now, context.status);
  context.status.PrintStatus(" Done\n");
  // The usage figures belong to no score ID.
  const ReportScope scope{context.platform, context.status, context.settings, 0,
                          ""};
  WriteUsageReport(scope, totals, now);
  return totals;
}

// Threads for the site's pages. One: on the large zone of scripts/bench.sh
// (28,417 pages) a second thread did not pay on the shared 2-core machine
// (the run took 14.0 to 14.8 s held to one core, 20.8 to 28.0 s with two
// threads on both): the pages' time is mostly the system's file creation in
// one directory, and memory allocation, which the threads share. The batch
// takes more threads where a machine shows that they pay.
size_t SiteThreads(const RunContext& context) {
  return context.options.site_threads.value_or(1);
}

// The site, once every other output is written: it links to them.
void RunSite(RunContext& context, const UsageTotals* usage) {
  std::optional<SquadMembership> counted;
  if (!context.squad_membership) {
    counted = CountSquadMembership(context.databases.UserTable,
                                   context.databases.SquadTable);
  }
  WriteSite(
      {context.platform, context.status, context.settings, context.databases,
       context.squad_membership ? *context.squad_membership : *counted,
       *context.site, context.site_templates, usage, SiteThreads(context)});
}

// Squad membership needs only the users and squads, so it is counted on a
// thread of its own while score.dat loads, when the thread reading that
// file leaves a core half idle. Where no thread can start, it is counted
// when the load is done.
void LoadDatabasesCountingMembership(RunContext& context) {
  const GeneralSettings& general = context.settings.General;
  LoadPilotTables(context.platform, context.status, general, context.databases);
  std::future<std::optional<SquadMembership>> membership =
      std::async(UserWorkLaunch(context.databases.UserTable),
                 [&context] { return MembershipFor(context); });
  LoadScoreTable(context.platform, context.status, general, context.databases);
  context.squad_membership = membership.get();
}

// Read, compute, write: the order of the whole run.
void Run(RunContext& context) {
  StatusOutput& status = context.status;
  status.OpenLog(context.options.LogFileName);
  PrintBanner(status);
  context.settings =
      LoadSettings(context.platform, status, context.options.IniFileName,
                   context.options.mayCreateTemplate);
  GuardDatabases(context);
  if (context.settings.Site.Enabled) {
    context.site_templates =
        LoadSiteTemplates(context.platform, context.settings.Site);
    context.site.emplace();
  }
  Databases& databases = context.databases;
  databases.UserTable.MakeReady();
  databases.SquadTable.MakeReady();
  databases.ScoreTable.MakeReady();
  // This first lookup writes the zone map's template when it is missing.
  ResolveScoreIdDir(context.Zones(), context.settings.General.ScoreID);
  LoadDatabasesCountingMembership(context);
  status.PrintStatus("\n");
  context.score_ids =
      CollectScoreIds(status, databases, context.settings.General.ScoreID);
  PrintOutputChoices(context);
  status.PrintStatus("\n");
  RunScoreIdPasses(context);
  std::optional<UsageTotals> usage;
  if (databases.UserTable.SlotCount() > 0 && context.settings.Usage.AnyOn()) {
    usage = RunUsageReport(context);
  }
  if (context.site) RunSite(context, usage ? &*usage : nullptr);
  status.PrintStatus("\nScore extraction complete.\n\n");
  CleanUp(context);
}

}  // namespace

int RunTallyhawk(const std::vector<std::string>& args, Platform& platform) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "/?") {
      platform.WriteConsole(HelpText());
      return 0;
    }
    if (arg == "--version") {
      platform.WriteConsole(VersionLine());
      return 0;
    }
  }
  const RunOptions options = ParseCommandLine(args);
  if (options.check) return CheckRun(options, platform);
  return RunWithOptions(options, platform);
}

int RunWithOptions(const RunOptions& options, Platform& platform) {
  RunContext context(platform, options);
  for (const std::string& warning : options.warnings) {
    context.status.Warn({"", 0, "command line: " + warning, ""});
  }
  try {
    Run(context);
    return 0;
  } catch (const FatalError& error) {
    ReportFatalError(context, error);
    return 1;
  }
}

}  // namespace tallyhawk

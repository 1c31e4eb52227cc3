#include "run/run_driver.h"

#include <string>

#include "config/settings.h"
#include "config/zone_dirs.h"
#include "db/databases.h"
#include "db/score_ids.h"
#include "report/group_page.h"
#include "report/usage_report.h"
#include "run/command_line.h"
#include "run/fatal_error.h"
#include "run/run_context.h"
#include "run/text_format.h"
#include "run/version.h"

namespace tallyhawk {
namespace {

const char kUsage[] =
    "Usage: tallyhawk [/quiet | /veryquiet] [/F<settings file>] [/L<log file>]"
    " [/Z<zone map>]\n"
    "Reads user.dat, squad.dat and score.dat as the settings file names them\n"
    "and writes the top lists and usage figures of every score ID.\n"
    "  /quiet      nothing on the console; the log is kept\n"
    "  /veryquiet  nothing on the console and no log\n"
    "  /Fname      settings file (default tallyhawk.ini; it must exist)\n"
    "  /Lname      log file (default tallyhawk.log)\n"
    "  /Zname      zone directory map (default zoneinfo.txt)\n"
    "The switches may also begin with '-'.\n";

std::string VersionLine() {
  return "Tallyhawk v" + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + " Build " + BuildDate() + "\n";
}

void PrintBanner(RunContext& context) {
  context.Line() << VersionLine();
  context.PrintStatusLine();
  context.PrintStatus("by Brannoch\n");
}

// Releases what the run holds and closes the log.
void CleanUp(RunContext& context) {
  // An unfinished grouped page is dropped with its temporary file.
  context.group_page.reset();
  context.top_list.ClearTopList();
  context.score_ids.ClearScoreIdList();
  context.status.CloseLog();
}

void ReportFatalError(RunContext& context, const std::string& message) {
  const int64_t now = context.platform.Now();
  context.status.ResetStatusLine();
  context.Line() << "ERROR: " << message << "\n";
  context.PrintStatusLine();
  // The error file holds exactly one error; if it cannot be written the
  // error is lost without a message.
  if (auto file = context.platform.CreateFile("tallyhawk.err")) {
    WriteWithCrLf(
        *file, DateText(context.platform.ToLocalTime(now)) + message + "\n\n");
    file->Commit();
  }
  context.PrintStatus("*** Error occurred, exiting.  (Logged to error file)\n");
  CleanUp(context);
}

void PrintOutputChoices(RunContext& context) {
  const OutputSettings& output = context.settings.Output;
  if (!output.Directory.empty()) {
    context.Line() << "Using output directory " << output.Directory << "\n";
    context.PrintStatusLine();
  }
  if (!output.StyleSheet.empty()) {
    context.Line() << "Style sheet defined: " << output.StyleSheet << "\n";
    context.PrintStatusLine();
  }
  if (output.UseSubDir) {
    context.PrintStatus("Using subdirectories\n");
    CreateScoreIdSubdirectories(context);
  }
}

void Run(RunContext& context) {
  context.status.OpenLog(context.options.LogFileName);
  PrintBanner(context);
  LoadSettings(context, context.options.mayCreateTemplate);
  context.CurrentScoreID = context.settings.General.ScoreID;
  context.databases.UserTable.MakeReady();
  context.databases.SquadTable.MakeReady();
  context.databases.ScoreTable.MakeReady();
  // This first lookup writes the zone map's template when it is missing.
  ResolveScoreIdDir(context);
  LoadDatabases(context);
  context.PrintStatus("\n");
  CollectScoreIds(context);
  PrintOutputChoices(context);
  context.PrintStatus("\n");
  for (uint32_t score_id : context.score_ids.ids()) {
    context.CurrentScoreID = score_id;
    context.ScoreIdDir = ResolveScoreIdDir(context);
    RunScoreIdPass(context);
  }
  if (context.databases.UserTable.SlotCount() > 0 &&
      context.settings.Usage.AnyOn()) {
    WriteUsageReport(context);
  }
  context.PrintStatus("\nScore extraction complete.\n\n");
  CleanUp(context);
}

}  // namespace

int RunTallyhawk(const std::vector<std::string>& args, Platform& platform) {
  for (const std::string& arg : args) {
    if (arg == "--help") {
      platform.WriteConsole(kUsage);
      return 0;
    }
    if (arg == "--version") {
      platform.WriteConsole(VersionLine());
      return 0;
    }
  }
  RunContext context(platform, ParseCommandLine(args));
  try {
    Run(context);
    return 0;
  } catch (const FatalError& error) {
    ReportFatalError(context, error.what());
    return 1;
  }
}

}  // namespace tallyhawk

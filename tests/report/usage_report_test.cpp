#include "report/usage_report.h"

#include "report_fixture.h"

namespace tallyhawk {
namespace {

TEST_F(ReportTest, UsageShowsLargePointsWithExponentInTextAndDigitsInHtml) {
  settings.Output.Text = true;
  UsageTotals totals;
  totals.kill_points = 1234567;
  WriteUsageReport(Scope(), totals, platform.now);
  EXPECT_NE(File("Usage.txt")
                .find("Total Points:\t1.23457e+006\r\n"
                      "Kill Points:\t1.23457e+006\r\n"
                      "Flag Points:\t0\r\n"
                      "Total Kills:\t0\r\n"
                      "Avg Kill:\t---\r\n"),
            std::string::npos);
  EXPECT_NE(File("Usage.html").find("<TR><TH>Kill Points</TH><TD>1234567</TD>"),
            std::string::npos);
  EXPECT_NE(File("Usage.html").find("<TR><TH>Avg Kill</TH><TD>---</TD>"),
            std::string::npos);
}

// The "(*) Since" line belongs to the windowed figures: it is there when
// either of them is, and shows the cut-off.
TEST_F(ReportTest, UsageSinceLineFollowsEitherWindowedFigure) {
  settings.Output.Text = true;
  UsageSettings& usage = settings.Usage;
  usage.DoAllPoints = usage.DoAvgKill = usage.DoAllFlagPoints =
      usage.DoAllKillPoints = usage.DoAllKills = usage.DoAllPlayers =
          usage.DoAllSquads = usage.DoActivePlayers = false;
  const std::string since = "(*) Since Thu Jan 01 00:00:00 1970\r\n";
  WriteUsageReport(Scope(), UsageTotals{}, platform.now);
  EXPECT_TRUE(
      File("Usage.txt").ends_with("New Players:\t0\t(*)\r\n\r\n\r\n" + since));
  EXPECT_NE(File("Usage.html").find("<BR>\r\n" + since), std::string::npos);
  usage.DoNewPlayers = false;
  WriteUsageReport(Scope(), UsageTotals{}, platform.now);
  EXPECT_TRUE(File("Usage.txt").ends_with("\r\n\r\n\r\n\r\n"));
}

}  // namespace
}  // namespace tallyhawk

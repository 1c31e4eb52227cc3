#include "report/usage_report.h"

#include "report/usage_totals.h"
#include "report_fixture.h"

namespace tallyhawk {
namespace {

constexpr int64_t kDay = 86400;

class UsageReportTest : public ReportTest {
 protected:
  UsageReportTest() { context.settings.Output.Text = true; }

  void Run(uint32_t kill_points = 0, uint32_t squads = 0) {
    Databases& db = context.databases;
    db.UserTable.MakeReady();
    db.SquadTable.MakeReady();
    db.ScoreTable.MakeReady();
    db.UserTable.Store(UserRecord{}, 1);
    for (uint32_t id = 0; id < squads; ++id) db.SquadTable.Store({}, id);
    ScoreRecord score;
    score.KillPoints = kill_points;
    db.ScoreTable.Store(score, 0);
    db.UserTable.Finish();
    db.SquadTable.Finish();
    db.ScoreTable.Finish();
    WriteUsageReport(context);
  }
};

TEST_F(UsageReportTest, LargePointsUseExponentInTextAndDigitsInHtml) {
  Run(1234567);
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

TEST_F(UsageReportTest, OnlySquadsSkipsTheOtherPassesAndTheHtmlFile) {
  UsageSettings& u = context.settings.Usage;
  u.DoActivePlayers = u.DoNewPlayers = u.DoAllPoints = u.DoAvgKill =
      u.DoAllFlagPoints = u.DoAllKillPoints = u.DoAllKills = u.DoAllPlayers =
          false;
  context.settings.Output.HTMLGroup = false;
  Run(0, 1);
  EXPECT_TRUE(
      File("Usage.txt").ends_with("\r\n\r\nTotal Squads:\t1\r\n\r\n\r\n"));
  EXPECT_EQ(File("Usage.html"), "<missing>");
  EXPECT_EQ(platform.console,
            "Compiling usage stats ...... Done\n"
            "Writing 'Usage.txt' ... Done\n");
}

TEST_F(UsageReportTest, CutOffIsClampedInsteadOfWrapping) {
  const int64_t now = platform.now;
  const std::pair<int32_t, uint32_t> cut_off_by_days[] = {
      {0, now},       {30, now - 30 * kDay}, {100000, 0},
      {INT32_MAX, 0}, {-100000, UINT32_MAX}, {INT32_MIN, UINT32_MAX}};
  for (const auto& [days, cut_off] : cut_off_by_days) {
    EXPECT_EQ(UsageCutOff(now, days), cut_off) << days << " days";
  }
  context.settings.Usage.LastDays = 100000;
  Run();
  EXPECT_NE(File("Usage.txt").find("Active Players:\t1\t(*)"),
            std::string::npos);
  EXPECT_TRUE(
      File("Usage.txt").ends_with("(*) Since Thu Jan 01 00:00:00 1970\r\n"));
}

TEST(UsagePassDotsTest, MatchesTheSlotBySlotWalk) {
  for (uint64_t slots = 0; slots <= 3000; ++slots) {
    int walked = 0;
    uint64_t last = 0;
    for (uint64_t i = 0; i < slots; ++i) {
      const uint64_t p = 33 * i / slots;
      if (p != last && p % 10 == 0) {
        ++walked;
        last = p;
      }
    }
    ASSERT_EQ(UsagePassDots(slots), walked) << slots << " slots";
  }
  EXPECT_EQ(UsagePassDots(4294967300u), 3);
}

}  // namespace
}  // namespace tallyhawk

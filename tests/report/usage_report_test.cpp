#include "report/usage_report.h"

#include "report/usage_totals.h"
#include "report_fixture.h"

namespace tallyhawk {
namespace {

constexpr int64_t kDay = 86400;

class UsageReportTest : public ReportTest {
 protected:
  UsageReportTest() {
    databases().UserTable.MakeReady();
    databases().SquadTable.MakeReady();
    databases().ScoreTable.MakeReady();
    context.settings.Output.Text = true;
  }

  Databases& databases() { return context.databases; }
  uint32_t DaysAgo(int64_t days) {
    return static_cast<uint32_t>(platform.now - days * kDay);
  }
  void AddUser(uint32_t id, uint32_t created, uint32_t last_seen) {
    UserRecord user;
    user.UserID = id;
    user.Created = created;
    user.LastSeen = last_seen;
    databases().UserTable.Store(user, id);
  }
  void AddScore(uint32_t id, uint16_t wins, uint32_t kill_points,
                uint32_t flag_points) {
    ScoreRecord score;
    score.EntryID = id;
    score.Wins = wins;
    score.KillPoints = kill_points;
    score.FlagPoints = flag_points;
    databases().ScoreTable.Store(score, id);
  }
  void Run() {
    databases().UserTable.Finish();
    databases().SquadTable.Finish();
    databases().ScoreTable.Finish();
    WriteUsageReport(context);
  }
  // Only the [Usage] rows named on.
  void OnlyRows(bool squads, bool points, bool kills, bool average_kill) {
    UsageSettings& usage = context.settings.Usage;
    usage = UsageSettings{};
    usage.DoActivePlayers = usage.DoNewPlayers = usage.DoAllPlayers = false;
    usage.DoAllFlagPoints = false;
    usage.DoAllSquads = squads;
    usage.DoAllPoints = usage.DoAllKillPoints = points;
    usage.DoAllKills = kills;
    usage.DoAvgKill = average_kill;
  }
};

TEST_F(UsageReportTest, BothFilesAreExactToTheByte) {
  context.settings.Output.Directory = "out/";
  AddUser(1, DaysAgo(10), DaysAgo(0));
  AddUser(5, 0, DaysAgo(31));
  AddUser(150, DaysAgo(30), DaysAgo(30));  // exactly at the cut-off: counted
  databases().SquadTable.Store(SquadRecord{}, 3);
  databases().SquadTable.Store(SquadRecord{}, 7);
  AddScore(0, 5, 60, 40);
  AddScore(2, 3, 40, 0);
  Run();

  const std::string rows[][2] = {
      {"Total Players", "3"}, {"Active Players", "2"}, {"New Players", "2"},
      {"Total Squads", "2"},  {"Total Points", "140"}, {"Kill Points", "100"},
      {"Flag Points", "40"},  {"Total Kills", "8"},    {"Avg Kill", "12.5"}};
  std::string text_rows, html_rows;
  for (const auto& [name, value] : rows) {
    const bool window = name == "Active Players" || name == "New Players";
    text_rows += name + ":\t" + value + (window ? "\t(*)\n" : "\n");
    html_rows += "<TR><TH>" + name + (window ? " (*)" : "") + "</TH><TD>" +
                 value + "</TD></TR>\n";
  }
  const std::string since = "(*) Since Fri Nov 06 12:00:00 2026\n";
  EXPECT_EQ(File("out/Usage.txt"),
            CrLf("****** T A L L Y  H A W K  v0.2 ******\n"
                 "by Brannoch\n"
                 "\n"
                 "OutFile:\tout/Usage.txt\n"
                 "Run Date: \t" +
                 std::string(kNowText) + "\n\n" + text_rows + "\n\n" + since));
  EXPECT_EQ(File("out/Usage.html"),
            CrLf("<HTML>\n\n<HEAD>\n\t<TITLE>Tallyhawk Results</TITLE>\n"
                 "</HEAD>\n\n<BODY>\n"
                 "<H1>Usage Statistics</H1>\n"
                 "Compiled on " +
                 std::string(kNowText) +
                 "<BR><BR>\n\n"
                 "<TABLE BORDER=1>\n" +
                 html_rows + "</TABLE>\n\n\n<BR>\n" + since +
                 "<P>\n<HR>\n<FONT SIZE=-2>\n"
                 "****** T A L L Y  H A W K  v0.2 ******<BR>\n"
                 "by Brannoch<BR>\n<BR>\n"
                 "OutFile:\tout/Usage.html<BR>\n"
                 "Run Date: \t" +
                 kNowText +
                 "<BR>\n"
                 "</BODY>\n</HTML>\n"));
  EXPECT_EQ(platform.console,
            // Three passes of three dots each.
            "Compiling usage stats ............ Done\n"
            "Writing 'out/Usage.txt' ... Done\n"
            "Writing 'out/Usage.html' ... Done\n");
}

TEST_F(UsageReportTest, LargePointsUseExponentInTextAndDigitsInHtml) {
  OnlyRows(false, true, true, true);
  AddUser(1, 0, 0);
  AddScore(1, 0, 1234567, 0);
  Run();
  EXPECT_NE(File("Usage.txt")
                .find("\r\n\r\n"
                      "Total Points:\t1.23457e+006\r\n"
                      "Kill Points:\t1.23457e+006\r\n"
                      "Total Kills:\t0\r\n"
                      "Avg Kill:\t---\r\n\r\n\r\n"),
            std::string::npos);
  EXPECT_NE(File("Usage.html")
                .find("<TR><TH>Total Points</TH><TD>1234567</TD></TR>\r\n"
                      "<TR><TH>Kill Points</TH><TD>1234567</TD></TR>\r\n"
                      "<TR><TH>Total Kills</TH><TD>0</TD></TR>\r\n"
                      "<TR><TH>Avg Kill</TH><TD>---</TD></TR>\r\n"),
            std::string::npos);
}

TEST_F(UsageReportTest, AverageKillHasSixDigitsInTextAndOneDecimalInHtml) {
  OnlyRows(false, false, false, true);
  AddUser(1, 0, 0);
  AddScore(1, 3, 100, 0);
  Run();
  EXPECT_NE(File("Usage.txt").find("Avg Kill:\t33.3333\r\n"),
            std::string::npos);
  EXPECT_NE(File("Usage.html").find("<TD>33.3</TD>"), std::string::npos);
}

TEST_F(UsageReportTest, OnlySquadsSkipsTheOtherPassesAndTheSinceLine) {
  OnlyRows(true, false, false, false);
  context.settings.Output.HTMLGroup = false;
  AddUser(1, 0, 0);
  databases().SquadTable.Store(SquadRecord{}, 4);
  Run();
  const std::string text = File("Usage.txt");
  EXPECT_EQ(text.substr(text.find("\r\n\r\n\r\n")),
            "\r\n\r\n\r\nTotal Squads:\t1\r\n\r\n\r\n");
  EXPECT_EQ(File("Usage.html"), "<missing>");
  EXPECT_EQ(platform.console,
            "Compiling usage stats ...... Done\n"
            "Writing 'Usage.txt' ... Done\n");
}

TEST_F(UsageReportTest, CutOffIsClampedInsteadOfWrapping) {
  const int64_t now = platform.now;
  EXPECT_EQ(UsageCutOff(now, 0), now);
  EXPECT_EQ(UsageCutOff(now, 30), now - 30 * kDay);
  EXPECT_EQ(UsageCutOff(now, 100000), 0u);
  EXPECT_EQ(UsageCutOff(now, -100000), UINT32_MAX);
  EXPECT_EQ(UsageCutOff(now, INT32_MIN), 0u + UINT32_MAX);
  EXPECT_EQ(UsageCutOff(now, INT32_MAX), 0u);

  context.settings.Usage.LastDays = 100000;
  AddUser(1, 0, 0);
  Run();
  EXPECT_NE(File("Usage.txt").find("Active Players:\t1\t(*)"),
            std::string::npos);
  EXPECT_NE(File("Usage.txt").find("(*) Since Thu Jan 01 00:00:00 1970\r\n"),
            std::string::npos);
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

TEST_F(UsageReportTest, FailuresEndTheRunAndKeepEarlierReports) {
  AddUser(1, 0, 0);
  platform.uncreatable.insert("Usage.txt");
  EXPECT_EQ(FatalMessage([&] { Run(); }),
            "Unable to open file for text output");
  EXPECT_EQ(File("Usage.html"), "<missing>");

  platform.uncreatable.clear();
  platform.files["Usage.html"] = "earlier";
  platform.failing_writes.insert("Usage.html");
  EXPECT_EQ(FatalMessage([&] { WriteUsageReport(context); }),
            "Unable to write file for HTML output");
  EXPECT_EQ(File("Usage.html"), "earlier");
  EXPECT_EQ(platform.open_temporaries, 0);
}

}  // namespace
}  // namespace tallyhawk

#include "report/group_page.h"

#include "report_fixture.h"

namespace tallyhawk {
namespace {

constexpr char kHead[] =
    "<HTML>\n"
    "\n"
    "<HEAD>\n"
    "\t<TITLE>Tallyhawk Results</TITLE>\n"
    "</HEAD>\n"
    "\n"
    "<BODY>\n"
    "<A NAME=\"Top\">\n";
constexpr char kPilotTableHead[] =
    "<TABLE BORDER=1>\n"
    "<TR><TH>RANK</TH><TH>NAME</TH><TH>SQUAD</TH><TH>VALUE</TH></TR>\n";

class GroupPageTest : public ReportTest {
 protected:
  void OnlyPilotLists(bool total, bool kill, bool average_kill, bool rating) {
    UserSettings& user = context.settings.User;
    user.DoFlagPoints = user.DoWins = user.DoLosses = user.DoRatio = false;
    user.DoTotalPoints = total;
    user.DoKillPoints = kill;
    user.DoAvgKill = average_kill;
    user.DoRating = rating;
  }
};

TEST_F(GroupPageTest, PilotPageWithSomeListsIsExactToTheByte) {
  context.settings.Output.Directory = "out/";
  OnlyPilotLists(true, true, true, true);
  OpenGroupPage(context, PageKind::kPilot);
  SetList({{"Alpha", "Red", "1500"}});
  WriteGroupSection(context, PageKind::kPilot, "Total Points");
  SetList({});
  WriteGroupSection(context, PageKind::kPilot, "Average Kill");
  platform.now += 65;  // the footer shows the time of the close
  CloseGroupPage(context, PageKind::kPilot);

  EXPECT_EQ(
      File("out/PilotStats12.html"),
      CrLf(std::string(kHead) +
           "<H1>Pilot Statistics</H1>\n"
           "Compiled on " +
           kNowText +
           "<BR><BR>\n"
           "\n"
           "<A HREF=\"PilotStats12.html#Total Points\">Total Points</A><BR>\n"
           "<A HREF=\"PilotStats12.html#Kill Points\">Kill Points</A><BR>\n"
           "<A HREF=\"PilotStats12.html#Average Kill\">Average Kill</A><BR>\n"
           "<A HREF=\"PilotStats12.html#Rating\">Rating</A><BR>\n"
           "\n"
           "<HR>\n"
           "<A NAME=\"Total Points\">\n"
           "<H3>Top 10 Total Points</H3>\n" +
           kPilotTableHead +
           "<TR><TD>1</TD><TD>Alpha</TD><TD>Red</TD><TD>1500</TD></TR>\n"
           "</TABLE>\n"
           "\n"
           "<A HREF=\"PilotStats12.html#Top\">Back to top</A>\n"
           "<HR>\n"
           "<A NAME=\"Average Kill\">\n"
           "<H3>Top 10 Average Kill</H3>\n" +
           kPilotTableHead +
           "</TABLE>\n"
           "\n"
           "<A HREF=\"PilotStats12.html#Top\">Back to top</A>\n"
           "<P>\n"
           "<HR>\n"
           "<FONT SIZE=-2>\n"
           "****** T A L L Y  H A W K  v0.2 ******<BR>\n"
           "by Brannoch<BR>\n"
           "<BR>\n"
           "OutFile:\tout/PilotStats12.html<BR>\n"
           "Run Date: \tSun Dec 06 12:01:05 2026\n"
           "<BR>\n"
           "ScoreID: \t12<BR>\n"
           "</BODY>\n"
           "</HTML>\n"));
  EXPECT_EQ(platform.console,
            "Writing Total Points to group .. Done\n"
            "Writing Average Kill to group . Done\n");
  EXPECT_EQ(context.group_page, nullptr);
}

TEST_F(GroupPageTest, SquadPageInSubdirectoryLinksItsOwnNameAndEscapes) {
  context.settings.Output.UseSubDir = true;
  context.settings.Output.Footer = false;
  context.ScoreIdDir = "out/Zone/";
  OpenGroupPage(context, PageKind::kSquad);
  SetList({{"<script>&\"", "", "9"}});
  WriteGroupSection(context, PageKind::kSquad, "Members");
  CloseGroupPage(context, PageKind::kSquad);

  const std::string page = File("out/Zone/SquadStats.html");
  EXPECT_NE(
      page.find(CrLf(
          "<A HREF=\"SquadStats.html#Total Points\">Total Points</A><BR>\n"
          "<A HREF=\"SquadStats.html#Average Points\">Average Points</A><BR>\n"
          "<A HREF=\"SquadStats.html#Average Kill\">Average Kill</A><BR>\n"
          "<A HREF=\"SquadStats.html#Wins\">Wins</A><BR>\n"
          "<A HREF=\"SquadStats.html#Losses\">Losses</A><BR>\n"
          "<A HREF=\"SquadStats.html#Ratio\">Ratio</A><BR>\n"
          "<A HREF=\"SquadStats.html#Rating\">Rating</A><BR>\n"
          "<A HREF=\"SquadStats.html#Members\">Members</A><BR>\n"
          "\n<HR>\n")),
      std::string::npos);
  EXPECT_NE(
      page.find(CrLf(
          "<TR><TH>RANK</TH><TH>NAME</TH><TH>VALUE</TH></TR>\n"
          "<TR><TD>1</TD><TD>&lt;script&gt;&amp;&quot;</TD><TD>9</TD></TR>\n"
          "</TABLE>\n"
          "\n"
          "<A HREF=\"SquadStats.html#Top\">Back to top</A>\n"
          "</BODY>\n"
          "</HTML>\n")),
      std::string::npos);
}

TEST_F(GroupPageTest, UncreatablePageEndsTheRunSilently) {
  platform.uncreatable.insert("SquadStats12.html");
  EXPECT_EQ(FatalMessage([&] { OpenGroupPage(context, PageKind::kSquad); }),
            "Unable to open file for group HTML output");
  EXPECT_EQ(platform.console, "");
  EXPECT_EQ(context.group_page, nullptr);
}

TEST_F(GroupPageTest, FailedCloseKeepsTheEarlierPageAndNoTemporary) {
  platform.files["PilotStats12.html"] = "earlier";
  platform.failing_commits.insert("PilotStats12.html");
  OpenGroupPage(context, PageKind::kPilot);
  EXPECT_EQ(FatalMessage([&] { CloseGroupPage(context, PageKind::kPilot); }),
            "Unable to write file for group HTML output");
  EXPECT_EQ(File("PilotStats12.html"), "earlier");
  EXPECT_EQ(platform.open_temporaries, 0);
  EXPECT_EQ(context.group_page, nullptr);
}

}  // namespace
}  // namespace tallyhawk

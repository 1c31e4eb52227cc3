#include "report/html_report.h"

#include "report_fixture.h"

namespace tallyhawk {
namespace {

constexpr char kHeadStart[] =
    "<HTML>\n"
    "\n"
    "<HEAD>\n"
    "\t<TITLE>Tallyhawk Results</TITLE>\n";
constexpr char kHeadEnd[] =
    "</HEAD>\n"
    "\n"
    "<BODY>\n";

std::string FooterFor(const std::string& escaped_path) {
  return std::string(
             "<P>\n"
             "<HR>\n"
             "<FONT SIZE=-2>\n"
             "****** T A L L Y  H A W K  v0.2 ******<BR>\n"
             "by Brannoch<BR>\n"
             "<BR>\n"
             "OutFile:\t") +
         escaped_path + "<BR>\nRun Date: \t" + kNowText + "<BR>\n";
}

class HtmlReportTest : public ReportTest {};

TEST_F(HtmlReportTest, PilotPageWithStyleSheetAndFooter) {
  context.settings.Output.Directory = "out/";
  context.settings.Output.StyleSheet = "style.css";
  SetList({{"Alpha", "Red", "1500"}, {"Bravo", "", "900"}});
  WritePilotHtmlReport(context, "KillPts");
  EXPECT_EQ(
      File("out/KillPts12.html"),
      CrLf(std::string(kHeadStart) +
           "\t<LINK REL=STYLESHEET TYPE=\"text/css\" HREF=\"style.css\">\n" +
           kHeadEnd +
           "<H1>Top 10</H1>\n"
           "<H2>Kill Points</H2><BR>\n"
           "Compiled on " +
           kNowText +
           "<BR><BR>\n"
           "\n"
           "<TABLE BORDER=1>\n"
           "<TR><TH>RANK</TH><TH>NAME</TH><TH>SQUAD</TH><TH>VALUE</TH></TR>\n"
           "<TR><TD>1</TD><TD>Alpha</TD><TD>Red</TD><TD>1500</TD></TR>\n"
           "<TR><TD>2</TD><TD>Bravo</TD><TD></TD><TD>900</TD></TR>\n"
           "</TABLE>\n"
           "\n" +
           FooterFor("out/KillPts12.html") +
           "ScoreID: \t12<BR>\n"
           "Top list:\t10 (2)<BR>\n"
           "<BR>\n"
           "</BODY>\n"
           "</HTML>\n"));
  EXPECT_EQ(platform.console, "Writing 'out/KillPts12.html' ... Done\n");
}

TEST_F(HtmlReportTest, EmptySquadPageWithoutFooterOrStyleSheet) {
  context.settings.Output.Footer = false;
  WriteSquadHtmlReport(context, "SqMembers");
  EXPECT_EQ(File("SqMembers12.html"),
            CrLf(std::string(kHeadStart) + kHeadEnd +
                 "<H1>Top 10</H1>\n"
                 "<H2>Members</H2><BR>\n"
                 "Compiled on " +
                 kNowText +
                 "<BR><BR>\n"
                 "\n"
                 "<TABLE BORDER=1>\n"
                 "<TR><TH>RANK</TH><TH>NAME</TH><TH>VALUE</TH></TR>\n"
                 "</TABLE>\n"
                 "\n"
                 "</BODY>\n"
                 "</HTML>\n"));
  EXPECT_EQ(platform.console, "Writing 'SqMembers12.html' . Done\n");
}

TEST_F(HtmlReportTest, NamesStyleSheetAndPathAreEscaped) {
  context.settings.Output.Directory = "a&b/";
  context.settings.Output.StyleSheet = "x\".css";
  SetList({{"<script>&\"", "a>b", "7"}});
  WritePilotHtmlReport(context, "Wins");
  const std::string page = File("a&b/Wins12.html");
  EXPECT_NE(page.find("HREF=\"x&quot;.css\">"), std::string::npos);
  EXPECT_NE(page.find("<TR><TD>1</TD><TD>&lt;script&gt;&amp;&quot;</TD>"
                      "<TD>a&gt;b</TD><TD>7</TD></TR>"),
            std::string::npos);
  EXPECT_NE(page.find("OutFile:\ta&amp;b/Wins12.html<BR>"), std::string::npos);
  // The console keeps the bytes.
  EXPECT_EQ(platform.console, "Writing 'a&b/Wins12.html' .. Done\n");
}

TEST_F(HtmlReportTest, FailuresEndTheRunAndKeepTheEarlierPage) {
  platform.uncreatable.insert("Wins12.html");
  EXPECT_EQ(FatalMessage([&] { WritePilotHtmlReport(context, "Wins"); }),
            "Unable to open file for HTML output");
  platform.uncreatable.clear();
  platform.files["Wins12.html"] = "earlier";
  platform.failing_commits.insert("Wins12.html");
  EXPECT_EQ(FatalMessage([&] { WritePilotHtmlReport(context, "Wins"); }),
            "Unable to write file for HTML output");
  EXPECT_EQ(File("Wins12.html"), "earlier");
  EXPECT_EQ(platform.open_temporaries, 0);
}

}  // namespace
}  // namespace tallyhawk

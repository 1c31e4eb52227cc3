// What the golden runs cannot show of the report writers: the clock moving
// during a run, long lists and paths, large figures, a list page without a
// footer.
#include "report/group_page.h"
#include "report/html_report.h"
#include "report/text_report.h"
#include "report/usage_report.h"
#include "report_fixture.h"

namespace tallyhawk {
namespace {

TEST_F(ReportTest, ProgressDotAtEveryRowReachingAMultipleOfTenPercent) {
  // Rows 1-9 of 1000 are at 0 percent; then ten rows per mark 10..90.
  const uint32_t dots_by_count[][2] = {
      {0, 0}, {3, 1}, {5, 5}, {100, 10}, {1000, 100}};
  for (const auto& [count, dots] : dots_by_count) {
    platform.console.clear();
    for (uint32_t rank = 1; rank <= count; ++rank) {
      ProgressDots(status, rank, count);
    }
    EXPECT_EQ(platform.console, std::string(dots, '.')) << count << " rows";
  }
}

TEST_F(ReportTest, GroupPageFooterShowsTheTimeOfTheClose) {
  std::unique_ptr<GroupPage> page = OpenGroupPage(Scope(), PageKind::kSquad);
  platform.now += 65;
  CloseGroupPage(Scope(), std::move(page));
  const std::string html = File("SquadStats12.html");
  EXPECT_NE(html.find("Compiled on Sun Dec 06 12:00:00 2026\r\n"),
            std::string::npos);
  EXPECT_NE(html.find("Run Date: \tSun Dec 06 12:01:05 2026\r\n"),
            std::string::npos);
}

TEST_F(ReportTest, HtmlReportWithoutFooterEndsAfterTheTable) {
  settings.Output.Footer = false;
  WritePilotHtmlReport(Scope(), TopList({{"Alpha", "Red", "1500"}}), "KillPts");
  EXPECT_TRUE(File("KillPts12.html")
                  .ends_with("<TD>1500</TD></TR>\r\n</TABLE>\r\n\r\n"
                             "</BODY>\r\n</HTML>\r\n"));
}

TEST_F(ReportTest, TextReportKeepsNameBytesAndTheWholeLongPath) {
  settings.Output.Directory = std::string(300, 'd') + "/";
  const std::string path = settings.Output.Directory + "SqWins12.txt";
  WriteSquadTextReport(Scope(), TopList({{"<b>&\n\"", "", "123456"}}),
                       "SqWins");
  // Only the line ends the report itself writes become CR LF.
  EXPECT_TRUE(
      File(path).ends_with("\r\n\r\n1    <b>&\n\"                   "
                           "123456\r\n"));
  EXPECT_NE(File(path).find("OutFile:\t" + path + "\r\n"), std::string::npos);
  // The message is cut at 255 characters; the row's dot follows it.
  EXPECT_EQ(platform.console, "Writing '" + std::string(246, 'd') + ". Done\n");
}

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

}  // namespace
}  // namespace tallyhawk

// What the golden runs cannot show of the writers: the clock moving during a
// run, long lists and paths, large figures, a page without a footer; of the
// JSON texts, large numbers and offsets other than UTC.
#include <gtest/gtest.h>

#include <cmath>

#include "report/group_page.h"
#include "report/html_report.h"
#include "report/json_document.h"
#include "report/text_report.h"
#include "report/usage_report.h"
#include "support/fake_platform.h"

namespace tallyhawk {
namespace {

// The writers' scope, of score ID 12, on the in-memory platform.
class ReportTest : public ::testing::Test {
 protected:
  ReportScope Scope() { return {platform, status, settings, 12, ""}; }
  // The bytes of a committed file; empty when there is none.
  std::string File(const std::string& path) { return platform.files[path]; }

  testing::FakePlatform platform;
  StatusOutput status{platform, false, false};
  Settings settings;
};

TEST_F(ReportTest, ProgressDotAtEveryRowReachingAMultipleOfTenPercent) {
  // Rows 1-9 of 1000 are at 0 percent; then ten rows per mark 10..90.
  const uint32_t dots_by_count[][2] = {
      {0, 0}, {3, 1}, {5, 5}, {100, 10}, {1000, 100}};
  for (const auto& [count, dots] : dots_by_count) {
    platform.console.clear();
    for (uint32_t rank = 1; rank <= count; ++rank)
      ProgressDots(status, rank, count);
    EXPECT_EQ(platform.console, std::string(dots, '.')) << count << " rows";
  }
}

// A list page without a footer ends after its table; a grouped page's footer
// shows the time of its close.
TEST_F(ReportTest, FooterOffOrWithTheTimeOfTheClose) {
  settings.Output.Footer = false;
  WritePilotHtmlReport(Scope(), TopList({{"Alpha", "Red", "1500"}}), "KillPts");
  EXPECT_TRUE(File("KillPts12.html")
                  .ends_with("<TD>1500</TD></TR>\r\n</TABLE>\r\n\r\n"
                             "</BODY>\r\n</HTML>\r\n"));
  settings.Output.Footer = true;
  std::unique_ptr<GroupPage> page = OpenGroupPage(Scope(), PageKind::kSquad);
  platform.now += 65;
  CloseGroupPage(Scope(), std::move(page));
  const std::string html = File("SquadStats12.html");
  EXPECT_NE(html.find("Compiled on Sun Dec 06 12:00:00 2026\r\n"),
            std::string::npos);
  EXPECT_NE(html.find("Run Date: \tSun Dec 06 12:01:05 2026\r\n"),
            std::string::npos);
}

TEST_F(ReportTest, TextReportKeepsTheWholeLongPath) {
  settings.Output.Directory = std::string(300, 'd') + "/";
  const std::string path = settings.Output.Directory + "SqWins12.txt";
  WriteSquadTextReport(Scope(), TopList({{"Alpha", "", "1"}}), "SqWins");
  EXPECT_NE(File(path).find("OutFile:\t" + path + "\r\n"), std::string::npos);
  // The message is cut at 255 characters; the row's dot follows it.
  EXPECT_EQ(platform.console, "Writing '" + std::string(246, 'd') + ". Done\n");
}

// Large points in the format of each file, no average without kills, only
// the figures that are on, and every file in the output directory.
TEST_F(ReportTest, UsageFilesShowLargePointsNoAverageAndOnlyFiguresOn) {
  settings.Output.Text = settings.Output.JSON = true;
  settings.Output.Directory = "out/";
  settings.Usage.DoAllPlayers = settings.Usage.DoActivePlayers = false;
  WriteUsageReport(Scope(), UsageTotals{.kill_points = 1234567}, platform.now);
  EXPECT_NE(File("out/Usage.txt")
                .find("Kill Points:\t1.23457e+006\r\n"
                      "Flag Points:\t0\r\nTotal Kills:\t0\r\n"
                      "Avg Kill:\t---\r\n"),
            std::string::npos);
  EXPECT_NE(File("out/Usage.html").find("<TH>Kill Points</TH><TD>1234567</TD>"),
            std::string::npos);
  EXPECT_NE(File("out/Usage.html").find("<TH>Avg Kill</TH><TD>---</TD>"),
            std::string::npos);
  const std::string json = File("out/Usage.json");
  EXPECT_NE(json.find("\"figures\": [\r\n    {\"key\": \"NewPlayers\""),
            std::string::npos);
  EXPECT_NE(json.find("\"Avg Kill\", \"value\": null}\r\n"), std::string::npos);
}

// Smaller numbers are pinned by the golden runs.
TEST(JsonNumberTest, LargeWholeValuesAsIntegersAndNoInfinity) {
  EXPECT_EQ(JsonNumber(8589934590.0), "8589934590");
  EXPECT_EQ(JsonNumber(1e20), "1e+20");
  EXPECT_EQ(JsonNumber(INFINITY), "null");
}

LocalTime Local(int year, int month, int day, int hour, int minute,
                int second) {
  return {year, month - 1, day, /*weekday=*/0, hour, minute, second};
}

TEST(IsoTimeTextTest, LocalTimeWithTheOffsetItHasFromUtc) {
  constexpr int64_t kNow = 1796558400;  // 2026-12-06 12:00:00 UTC
  const std::pair<JsonTime, std::string> cases[] = {
      {{kNow, Local(2026, 12, 6, 13, 0, 0)}, "2026-12-06T13:00:00+01:00"},
      {{kNow, Local(2026, 12, 6, 17, 45, 0)}, "2026-12-06T17:45:00+05:45"},
      {{kNow, Local(2026, 12, 5, 22, 30, 0)}, "2026-12-05T22:30:00-13:30"},
      {{4294967295, Local(2106, 2, 7, 6, 28, 15)}, "2106-02-07T06:28:15+00:00"},
      // Offsets of seconds, or local fields that are no time near it: UTC.
      {{kNow, Local(2026, 12, 6, 12, 9, 21)}, "2026-12-06T12:00:00+00:00"},
      {{-1, Local(1999, 1, 1, 0, 0, 0)}, "1969-12-31T23:59:59+00:00"},
  };
  for (const auto& [time, text] : cases) EXPECT_EQ(IsoTimeText(time), text);
}

}  // namespace
}  // namespace tallyhawk

#include "report/text_report.h"

#include "report_fixture.h"

namespace tallyhawk {
namespace {

constexpr char kHeader[] =
    "****** T A L L Y  H A W K  v0.2 ******\n"
    "by Brannoch\n"
    "\n";

class TextReportTest : public ReportTest {};

TEST_F(TextReportTest, PilotReportIsExactToTheByte) {
  context.settings.Output.Directory = "out/";
  SetList({{"Alpha", "Red", "1500"}, {"Bravo", "", "900"}});
  WritePilotTextReport(context, "TotPts");
  EXPECT_EQ(
      File("out/TotPts12.txt"),
      CrLf(
          std::string(kHeader) + "OutFile:\tout/TotPts12.txt\n" +
          "Run Date: \t" + kNowText +
          "ScoreID: \t12\n"
          "Top list:\t10 (2)\n"
          "\n"
          "Rank Name                     Squad                    Value   \n"
          "\n"
          "1    Alpha                    Red                      1500    \n"
          "2    Bravo                                             900     \n"));
  // Two rows reach 50 and 100 percent: a dot after each.
  EXPECT_EQ(platform.console, "Writing 'out/TotPts12.txt' ... Done\n");
  EXPECT_EQ(platform.open_temporaries, 0);
}

TEST_F(TextReportTest, SquadReportInSubdirectoryKeepsLongAndSpecialBytes) {
  context.settings.Output.UseSubDir = true;
  context.ScoreIdDir = "out/My Zone/";
  SetList({{"The Very Long Squad Name Here", "", "44"},
           {"Aces", "", "7.25"},
           {"<b>&\n\"", "", "123456"}});
  WriteSquadTextReport(context, "SqWins");
  EXPECT_EQ(File("out/My Zone/SqWins.txt"),
            CrLf(std::string(kHeader) + "OutFile:\tout/My Zone/SqWins.txt\n" +
                 "Run Date: \t" + kNowText +
                 "ScoreID: \t12\n"
                 "Top list:\t10 (3)\n"
                 "\n"
                 "Rank Name                     Value\n"
                 "\n"
                 "1    The Very Long Squad Name Here44   \n"
                 "2    Aces                     7.25 \n") +
                // A line feed inside a name stays a bare line feed.
                "3    <b>&\n\"                   123456\r\n");
  EXPECT_EQ(platform.console, "Writing 'out/My Zone/SqWins.txt' .. Done\n");
}

TEST_F(TextReportTest, LongPathIsWhollyUsedButItsMessageIsCut) {
  context.settings.Output.Directory = std::string(300, 'd') + "/";
  const std::string path = context.settings.Output.Directory + "Wins12.txt";
  WritePilotTextReport(context, "Wins");
  EXPECT_NE(File(path).find("OutFile:\t" + path + "\r\n"), std::string::npos);
  EXPECT_EQ(platform.console, "Writing '" + std::string(246, 'd') + " Done\n");
}

TEST_F(TextReportTest, UncreatableFileEndsTheRunBeforeAnyMessage) {
  platform.uncreatable.insert("Wins12.txt");
  EXPECT_EQ(FatalMessage([&] { WritePilotTextReport(context, "Wins"); }),
            "Unable to open file for text output");
  EXPECT_EQ(platform.console, "");
}

TEST_F(TextReportTest, FailedWriteOrCommitKeepsTheEarlierReport) {
  for (auto* faults : {&platform.failing_writes, &platform.failing_commits}) {
    platform.files["Wins12.txt"] = "earlier";
    faults->insert("Wins12.txt");
    EXPECT_EQ(FatalMessage([&] { WritePilotTextReport(context, "Wins"); }),
              "Unable to write file for text output");
    EXPECT_EQ(File("Wins12.txt"), "earlier");
    EXPECT_EQ(platform.open_temporaries, 0);
    faults->clear();
  }
}

}  // namespace
}  // namespace tallyhawk

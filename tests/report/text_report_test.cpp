#include "report/text_report.h"

#include "report_fixture.h"

namespace tallyhawk {
namespace {

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

}  // namespace
}  // namespace tallyhawk

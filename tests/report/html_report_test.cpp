#include "report/html_report.h"

#include "report_fixture.h"

namespace tallyhawk {
namespace {

TEST_F(ReportTest, HtmlReportWithoutFooterEndsAfterTheTable) {
  settings.Output.Footer = false;
  WritePilotHtmlReport(Scope(), TopList({{"Alpha", "Red", "1500"}}), "KillPts");
  EXPECT_TRUE(File("KillPts12.html")
                  .ends_with("<TD>1500</TD></TR>\r\n</TABLE>\r\n\r\n"
                             "</BODY>\r\n</HTML>\r\n"));
}

}  // namespace
}  // namespace tallyhawk

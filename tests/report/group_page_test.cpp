#include "report/group_page.h"

#include "report_fixture.h"

namespace tallyhawk {
namespace {

TEST_F(ReportTest, GroupPageFooterShowsTheTimeOfTheClose) {
  OpenGroupPage(context, PageKind::kSquad);
  platform.now += 65;
  CloseGroupPage(context, PageKind::kSquad);
  const std::string page = File("SquadStats12.html");
  EXPECT_NE(page.find("Compiled on Sun Dec 06 12:00:00 2026\r\n"),
            std::string::npos);
  EXPECT_NE(page.find("Run Date: \tSun Dec 06 12:01:05 2026\r\n"),
            std::string::npos);
  EXPECT_EQ(context.group_page, nullptr);
}

}  // namespace
}  // namespace tallyhawk

#include "report/group_page.h"

#include "report_fixture.h"

namespace tallyhawk {
namespace {

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

}  // namespace
}  // namespace tallyhawk

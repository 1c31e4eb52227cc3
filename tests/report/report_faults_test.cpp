// Every report writer ends the run with its own message when its file cannot
// be made or written, and leaves the earlier report and no temporary behind.
#include "report/group_page.h"
#include "report/html_report.h"
#include "report/text_report.h"
#include "report/usage_report.h"
#include "report_fixture.h"

namespace tallyhawk {
namespace {

using Faults = std::set<std::string> testing::FakePlatform::*;
using testing::FakePlatform;

struct FaultCase {
  Faults fault;
  const char* path;
  void (*write)(RunContext&);
  const char* message;
};

void TextReport(RunContext& c) { WritePilotTextReport(c, "Wins"); }
void HtmlReport(RunContext& c) { WriteSquadHtmlReport(c, "SqWins"); }
void GroupPage(RunContext& c) {
  OpenGroupPage(c, PageKind::kPilot);
  CloseGroupPage(c, PageKind::kPilot);
}
void UsageWithText(RunContext& c) {
  c.settings.Output.Text = true;
  WriteUsageReport(c);
}

const FaultCase kFaults[] = {
    {&FakePlatform::uncreatable, "Wins12.txt", TextReport,
     "Unable to open file for text output"},
    {&FakePlatform::failing_writes, "Wins12.txt", TextReport,
     "Unable to write file for text output"},
    {&FakePlatform::failing_commits, "Wins12.txt", TextReport,
     "Unable to write file for text output"},
    {&FakePlatform::uncreatable, "SqWins12.html", HtmlReport,
     "Unable to open file for HTML output"},
    {&FakePlatform::failing_commits, "SqWins12.html", HtmlReport,
     "Unable to write file for HTML output"},
    {&FakePlatform::uncreatable, "PilotStats12.html", GroupPage,
     "Unable to open file for group HTML output"},
    {&FakePlatform::failing_commits, "PilotStats12.html", GroupPage,
     "Unable to write file for group HTML output"},
    // The text file comes first; the HTML one is then never made.
    {&FakePlatform::uncreatable, "Usage.txt", UsageWithText,
     "Unable to open file for text output"},
    {&FakePlatform::failing_writes, "Usage.html", WriteUsageReport,
     "Unable to write file for HTML output"},
};

TEST_F(ReportTest, FailuresEndTheRunAndKeepTheEarlierReport) {
  for (const FaultCase& test : kFaults) {
    SCOPED_TRACE(test.path);
    FakePlatform& p = platform;
    p.files = {{test.path, "earlier"}};
    p.console.clear();
    context.settings.Output.Text = false;
    p.uncreatable = p.failing_writes = p.failing_commits = {};
    (p.*test.fault).insert(test.path);
    EXPECT_EQ(FatalMessage([&] { test.write(context); }), test.message);
    EXPECT_EQ(p.files,
              (std::map<std::string, std::string>{{test.path, "earlier"}}));
    EXPECT_EQ(p.open_temporaries, 0);
    EXPECT_EQ(context.group_page, nullptr);
    // A file that cannot be made is reported before any "Writing" message.
    if (test.fault == &FakePlatform::uncreatable) {
      EXPECT_EQ(p.console.find("Writing"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace tallyhawk

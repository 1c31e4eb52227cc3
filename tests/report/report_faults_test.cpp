// Every report writer ends the run with its own message when its file cannot
// be made or written, and leaves the earlier report and no temporary behind.
#include "report/group_page.h"
#include "report/html_report.h"
#include "report/report_file.h"
#include "report/text_report.h"
#include "report/usage_report.h"
#include "report_fixture.h"

namespace tallyhawk {
namespace {

using Faults = std::set<std::string> testing::FakePlatform::*;
using testing::FakePlatform;
using testing::FatalMessage;
using Write = void (*)(const ReportScope&);

struct FaultCase {
  Faults fault;
  const char* path;
  Write write;
  const char* message;
};

const TopList kList({{"Alpha", "Red", "1"}});

void TextReport(const ReportScope& s) {
  WritePilotTextReport(s, kList, "Wins");
}
void HtmlReport(const ReportScope& s) {
  WriteSquadHtmlReport(s, kList, "SqWins");
}
void GroupPage(const ReportScope& s) {
  CloseGroupPage(s, OpenGroupPage(s, PageKind::kPilot));
}
void Usage(const ReportScope& s) { WriteUsageReport(s, UsageTotals{}, 0); }

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
    {&FakePlatform::uncreatable, "Usage.txt", Usage,
     "Unable to open file for text output"},
    {&FakePlatform::failing_writes, "Usage.html", Usage,
     "Unable to write file for HTML output"},
};

TEST_F(ReportTest, FailuresEndTheRunAndKeepTheEarlierReport) {
  for (const FaultCase& test : kFaults) {
    SCOPED_TRACE(test.path);
    FakePlatform& p = platform;
    p.files = {{test.path, "earlier"}};
    p.console.clear();
    p.uncreatable = p.failing_writes = p.failing_commits = {};
    (p.*test.fault).insert(test.path);
    // Usage.txt is written only with Text on, and before Usage.html.
    settings.Output.Text = std::string(test.path) == "Usage.txt";
    EXPECT_EQ(FatalMessage([&] { test.write(Scope()); }), test.message);
    EXPECT_EQ(p.files,
              (std::map<std::string, std::string>{{test.path, "earlier"}}));
    EXPECT_EQ(p.open_temporaries, 0);
    // A file that cannot be made is reported before any "Writing" message.
    if (test.fault == &FakePlatform::uncreatable) {
      EXPECT_EQ(p.console.find("Writing"), std::string::npos);
    }
  }
}

// A report goes to the system in blocks: a write that fails in a later
// block still ends the run with the report's own message.
TEST_F(ReportTest, WriteFailingInALaterBlockEndsTheRunWithItsMessage) {
  platform.writes_before_failure["Long.txt"] = 1;  // the first line only
  auto file = ReportFile::Open(platform, "Long.txt", "Unable to write long");
  EXPECT_EQ(FatalMessage([&] {
              for (int i = 0; i < 20000; ++i) *file << "one line of many\n";
              file->Commit();
            }),
            "Unable to write long");
  file.reset();
  EXPECT_EQ(platform.files.count("Long.txt"), 0u);
  EXPECT_EQ(platform.open_temporaries, 0);
}

}  // namespace
}  // namespace tallyhawk

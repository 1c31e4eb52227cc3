// The grouped pages: all pilot lists, or all squad lists, of one score ID on
// one page with an index of links.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "report/page_kind.h"
#include "report/report_frame.h"
#include "stats/top_list.h"

namespace tallyhawk {

class ReportFile;

// A grouped page while it is written. Destroying it before CloseGroupPage
// drops the page with its temporary file.
struct GroupPage {
  PageKind kind;
  std::string path;
  std::unique_ptr<ReportFile> file;
  ~GroupPage();
};

// Opens "PilotStats" or "SquadStats" (the score ID's page) and writes its
// head and index.
std::unique_ptr<GroupPage> OpenGroupPage(const ReportScope& scope,
                                         PageKind kind);
// The section of one list, with the console's "Writing ... to group" line.
void WriteGroupSection(const ReportScope& scope, GroupPage& page,
                       const TopList& list, std::string_view group_title);
// Writes the footer and the end and puts the page in place.
void CloseGroupPage(const ReportScope& scope, std::unique_ptr<GroupPage> page);

}  // namespace tallyhawk

// The grouped pages: all pilot lists, or all squad lists, of one score ID on
// one page with an index of links.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "report/page_kind.h"

namespace tallyhawk {

struct RunContext;
class ReportFile;

// The grouped page while it is open.
struct GroupPage {
  std::unique_ptr<ReportFile> file;
  std::string path;
  ~GroupPage();
};

void OpenGroupPage(RunContext& context, PageKind kind);
void WriteGroupPageHead(RunContext& context, PageKind kind);
void WriteGroupSection(RunContext& context, PageKind kind,
                       std::string_view group_title);
void CloseGroupPage(RunContext& context, PageKind kind);

}  // namespace tallyhawk

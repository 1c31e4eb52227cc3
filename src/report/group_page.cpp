#include "report/group_page.h"

#include "report/report_file.h"
#include "run/run_context.h"

namespace tallyhawk {

GroupPage::~GroupPage() = default;

// TODO(report)
void OpenGroupPage(RunContext&, PageKind) {}
void WriteGroupPageHead(RunContext&, PageKind) {}
void WriteGroupSection(RunContext&, PageKind, std::string_view) {}
void CloseGroupPage(RunContext&, PageKind) {}

}  // namespace tallyhawk

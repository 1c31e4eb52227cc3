// The table of a top list as the per-list pages and the grouped pages show
// it.
#pragma once

#include "report/page_kind.h"

namespace tallyhawk {

struct RunContext;
class ReportFile;

// "<TABLE BORDER=1>", the column heads, one row per entry of the current top
// list (with the progress dots), "</TABLE>" and an empty line. Names are
// escaped, so no name can become markup.
void WriteHtmlListTable(RunContext& context, ReportFile& file, PageKind kind);

}  // namespace tallyhawk

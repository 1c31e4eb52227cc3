// The table of a top list as the per-list pages and the grouped pages show
// it.
#pragma once

#include "report/page_kind.h"
#include "stats/top_list.h"
#include "util/progress.h"

namespace tallyhawk {

class ReportFile;

// "<TABLE BORDER=1>", the column heads, one row per entry of `list` (with the
// progress dots), "</TABLE>" and an empty line. Names are escaped, so no
// name can become markup.
void WriteHtmlListTable(ProgressSink& progress, ReportFile& file,
                        const TopList& list, PageKind kind);

}  // namespace tallyhawk

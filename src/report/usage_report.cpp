#include "report/usage_report.h"

#include "run/run_context.h"

namespace tallyhawk {

// TODO(report)
void WriteUsageReport(RunContext&) {}

}  // namespace tallyhawk

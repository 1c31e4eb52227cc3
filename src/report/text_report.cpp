#include "report/text_report.h"

#include "run/run_context.h"

namespace tallyhawk {

// TODO(report)
void WritePilotTextReport(RunContext&, std::string_view) {}
void WriteSquadTextReport(RunContext&, std::string_view) {}

}  // namespace tallyhawk

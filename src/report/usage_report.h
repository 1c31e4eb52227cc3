// The zone-wide usage figures, written as Usage.txt and Usage.html.
#pragma once

namespace tallyhawk {

struct RunContext;

void WriteUsageReport(RunContext& context);

}  // namespace tallyhawk

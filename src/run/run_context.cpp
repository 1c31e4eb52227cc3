#include "run/run_context.h"

#include "report/group_page.h"

namespace tallyhawk {

RunContext::RunContext(Platform& platform, const RunOptions& options)
    : platform(platform),
      options(options),
      status(platform, options.quiet, options.veryquiet) {}

RunContext::~RunContext() = default;

}  // namespace tallyhawk

#include "report/deferred_output.h"

#include <utility>

namespace tallyhawk {

void DeferredOutput::WriteConsole(std::string_view text) {
  if (steps_.empty() || steps_.back().report) steps_.emplace_back();
  steps_.back().text.append(text);
}

void DeferredOutput::Keep(std::unique_ptr<ReportFile> report) {
  report->Finish();
  if (steps_.empty() || steps_.back().report) steps_.emplace_back();
  steps_.back().report = std::move(report);
}

void DeferredOutput::Replay(StatusOutput& status) {
  std::vector<Step> steps = std::move(steps_);
  steps_.clear();
  for (Step& step : steps) {
    if (!step.text.empty()) status.PrintStatus(step.text);
    if (step.report) std::exchange(step.report, nullptr)->Commit();
  }
}

}  // namespace tallyhawk

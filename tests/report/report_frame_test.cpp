#include "report/report_frame.h"

#include "report_fixture.h"

namespace tallyhawk {
namespace {

TEST_F(ReportTest, ProgressDotAtEveryRowReachingAMultipleOfTenPercent) {
  // Rows 1-9 of 1000 are at 0 percent; then ten rows per mark 10..90.
  const uint32_t dots_by_count[][2] = {
      {0, 0}, {3, 1}, {5, 5}, {100, 10}, {1000, 100}};
  for (const auto& [count, dots] : dots_by_count) {
    platform.console.clear();
    for (uint32_t rank = 1; rank <= count; ++rank) {
      ProgressDots(status, rank, count);
    }
    EXPECT_EQ(platform.console, std::string(dots, '.')) << count << " rows";
  }
}

}  // namespace
}  // namespace tallyhawk

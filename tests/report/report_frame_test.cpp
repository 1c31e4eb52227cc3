#include "report/report_frame.h"

#include <algorithm>

#include "report_fixture.h"

namespace tallyhawk {
namespace {

class ProgressDotsTest : public ReportTest {
 protected:
  // Dots printed over a whole list of `count` rows.
  size_t DotsForList(uint32_t count) {
    platform.console.clear();
    for (uint32_t rank = 1; rank <= count; ++rank) {
      ProgressDots(context, rank, count);
    }
    return static_cast<size_t>(
        std::count(platform.console.begin(), platform.console.end(), '.'));
  }
};

TEST_F(ProgressDotsTest, DotAtEveryRowReachingAMultipleOfTenPercent) {
  EXPECT_EQ(DotsForList(3), 1u);  // 33, 66, 100
  EXPECT_EQ(DotsForList(5), 5u);  // 20, 40, 60, 80, 100
  EXPECT_EQ(DotsForList(100), 10u);
  // Rows 1-9 (0 percent), ten rows per mark 10..90, and row 1000.
  EXPECT_EQ(DotsForList(1000), 100u);
  EXPECT_EQ(DotsForList(0), 0u);
}

}  // namespace
}  // namespace tallyhawk

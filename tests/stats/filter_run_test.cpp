#include "stats/filter_run.h"

#include <gtest/gtest.h>

#include <random>

#include "util/text_format.h"

namespace tallyhawk {
namespace {

// Whole numbers skip printf; every text must still be FormatFixed's.
TEST(FixedTextTest, MatchesFormatFixed) {
  std::mt19937_64 random(7);
  for (int round = 0; round < 2000; ++round) {
    const double whole = static_cast<double>(random() >> (random() % 64));
    for (double value : {whole, whole + 0.5, whole / 8, whole / 3}) {
      for (int decimals = 0; decimals <= 3; ++decimals) {
        ASSERT_EQ(FixedText(value, decimals), FormatFixed(value, decimals))
            << value << " with " << decimals << " decimals";
      }
    }
  }
  EXPECT_EQ(EntryText(std::string(40, '9')), std::string(31, '9'));
}

// A walk that reaches slot 0 for every row not taken prints exactly what
// reaching the taken rows alone prints, wherever the first taken row is.
TEST(DotWalkTest, ReachWhenPrintsTheDotsOfTheTakenRowsAlone) {
  std::mt19937_64 random(11);
  for (int round = 0; round < 500; ++round) {
    const uint64_t slot_count = 100 + random() % 5000;
    const int taken_in_8 = static_cast<int>(random() % 9);
    DotWalk model(slot_count);
    DotWalk walk(slot_count);
    for (uint64_t slot = random() % 3; slot < slot_count;
         slot += 1 + random() % 40) {
      const bool taken = static_cast<int>(random() % 8) < taken_in_8;
      if (taken) model.Reach(slot);
      walk.ReachWhen(taken, static_cast<uint32_t>(slot));
    }
    ASSERT_EQ(walk.dots(), model.dots()) << "round " << round;
  }
}

}  // namespace
}  // namespace tallyhawk

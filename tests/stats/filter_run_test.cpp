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

}  // namespace
}  // namespace tallyhawk

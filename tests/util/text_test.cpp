// Number texts, and the status line that shows them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "util/status_output.h"
#include "util/text_format.h"

namespace tallyhawk {
namespace {

TEST(FormatFixedTest, ExactBinaryValueIsRoundedWithTiesAwayFromZero) {
  EXPECT_EQ(FormatFixed(2.5, 0), "3");
  EXPECT_EQ(FormatFixed(0.5, 0), "1");
  EXPECT_EQ(FormatFixed(-2.5, 0), "-3");
  EXPECT_EQ(FormatFixed(999.5, 0), "1000");
  EXPECT_EQ(FormatFixed(1.0625, 3), "1.063");
  // Near ties round to the side their binary value lies on.
  EXPECT_EQ(FormatFixed(99.95, 1), "100.0");  // 99.9500000000000028...
  EXPECT_EQ(FormatFixed(0.15, 1), "0.1");     // 0.1499999999999999944...
  EXPECT_EQ(FormatFixed(2.675, 2), "2.67");   // 2.6749999999999998223...
  EXPECT_EQ(FormatFixed(std::nextafter(2.5, 0.0), 0), "2");
  EXPECT_EQ(FormatFixed(std::nextafter(2.5, 3.0), 0), "3");
  EXPECT_EQ(FormatFixed(200, 2), "200.00");
  EXPECT_EQ(FormatFixed(8589934590.0, 0), "8589934590");
  EXPECT_EQ(FormatFixed(1e20, 1), "100000000000000000000.0");
}

TEST(FormatGeneralTest, SixDigitsTiesAwayAndThreeDigitExponent) {
  EXPECT_EQ(FormatGeneral(0.00001), "1e-005");
  EXPECT_EQ(FormatGeneral(12.5), "12.5");
  EXPECT_EQ(FormatGeneral(100), "100");
  EXPECT_EQ(FormatGeneral(0), "0");
  EXPECT_EQ(FormatGeneral(100.0 / 3), "33.3333");
  EXPECT_EQ(FormatGeneral(999999), "999999");
  EXPECT_EQ(FormatGeneral(1000000), "1e+006");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(0.000123456), "0.000123456");
  EXPECT_EQ(FormatGeneral(1.5e300), "1.5e+300");
  // Exact ties round away, also where even would keep the digit, and carry.
  EXPECT_EQ(FormatGeneral(1234565), "1.23457e+006");
  EXPECT_EQ(FormatGeneral(1234575), "1.23458e+006");
  EXPECT_EQ(FormatGeneral(999999.5), "1e+006");
  // Both lie just below the tie in binary.
  EXPECT_EQ(FormatGeneral(99999.95), "99999.9");
  EXPECT_EQ(FormatGeneral(12345.65), "12345.6");
}

TEST(StatusLineTest, KeepsThe255FirstCharactersAndFormatsNumbers) {
  StatusLine line;
  line << std::string(250, 'a') << "bcdefgh" << uint32_t{42};
  EXPECT_EQ(line.text(), std::string(250, 'a') + "bcdef");
  line.Reset();
  line << "x" << uint64_t{8589934592} << " " << 2.4 << " " << 42.5;
  EXPECT_EQ(line.text(), "x8589934592 2 43");
  line.Reset();
  line.SetPrecision(3);
  line << 1.5;
  line.Reset();  // also ends the precision
  line << 1.5;
  EXPECT_EQ(line.text(), "2");
}

}  // namespace
}  // namespace tallyhawk

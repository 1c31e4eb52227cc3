// The JSON texts beyond what the golden runs pin: every byte a name can hold,
// numbers the tiny zone does not reach, offsets other than UTC, and usage
// figures that are off.
#include "report/json_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

namespace tallyhawk {
namespace {

// A name of every byte, and every byte alone, is printable ASCII that reads
// back as the code points of the same numbers.
TEST(JsonStringTest, EveryByteIsAsciiAndReadsBackAsLatin1) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  for (size_t i = 0; i <= all.size(); ++i) {
    const std::string name = i < all.size() ? all.substr(i, 1) : all;
    const std::string json = JsonString(name);
    for (char c : json) ASSERT_TRUE(c >= 0x20 && c < 0x7f) << json;
    std::string utf8;
    for (unsigned char byte : name) {
      if (byte >= 0x80) utf8 += static_cast<char>(0xC0 | byte >> 6);
      utf8 += static_cast<char>(byte < 0x80 ? byte : 0x80 | (byte & 0x3F));
    }
    EXPECT_EQ(nlohmann::json::parse(json).get<std::string>(), utf8);
  }
}

TEST(JsonNumberTest, WholeValuesAsIntegersOthersShortestAndNoInfinity) {
  const std::pair<double, std::string> cases[] = {
      {0, "0"},
      {8589934590.0, "8589934590"},
      {7.0 / 3, "2.3333333333333335"},
      {1e20, "1e+20"},
      {INFINITY, "null"},
      {NAN, "null"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(JsonNumber(value), text);
}

LocalTime Local(int year, int month, int day, int hour, int minute,
                int second) {
  return LocalTime{.year = year,
                   .month = month - 1,
                   .day = day,
                   .hour = hour,
                   .minute = minute,
                   .second = second};
}

TEST(IsoTimeTextTest, LocalTimeWithTheOffsetItHasFromUtc) {
  constexpr int64_t kNow = 1796558400;  // 2026-12-06 12:00:00 UTC
  const std::pair<JsonTime, std::string> cases[] = {
      {{kNow, Local(2026, 12, 6, 13, 0, 0)}, "2026-12-06T13:00:00+01:00"},
      {{kNow, Local(2026, 12, 6, 17, 45, 0)}, "2026-12-06T17:45:00+05:45"},
      {{kNow, Local(2026, 12, 5, 22, 30, 0)}, "2026-12-05T22:30:00-13:30"},
      {{0, Local(1970, 1, 1, 0, 0, 0)}, "1970-01-01T00:00:00+00:00"},
      {{4294967295, Local(2106, 2, 7, 6, 28, 15)}, "2106-02-07T06:28:15+00:00"},
      // Offsets of seconds, or local fields that are no time near it: UTC.
      {{kNow, Local(2026, 12, 6, 12, 9, 21)}, "2026-12-06T12:00:00+00:00"},
      {{-1, Local(1999, 1, 1, 0, 0, 0)}, "1969-12-31T23:59:59+00:00"},
  };
  for (const auto& [time, text] : cases) EXPECT_EQ(IsoTimeText(time), text);
}

TEST(UsageJsonTest, FiguresThatAreOnWithTheCutOffOfTheWindow) {
  UsageSettings usage{.LastDays = -1};
  usage.DoActivePlayers = usage.DoAllPoints = usage.DoAllFlagPoints =
      usage.DoAllKillPoints = usage.DoAllKills = usage.DoAllPlayers =
          usage.DoAllSquads = false;
  UsageTotals totals;
  totals.new_players = 2;
  EXPECT_EQ(UsageJsonText(usage, totals, {0, Local(1970, 1, 1, 1, 0, 0)},
                          {86400, Local(1970, 1, 2, 1, 0, 0)}),
            R"({
  "runTime": "1970-01-01T01:00:00+01:00",
  "settings": {"LastDays": -1},
  "figures": [
    {"key": "NewPlayers", "title": "New Players", "value": 2, "cutOff": "1970-01-02T01:00:00+01:00"},
    {"key": "AvgKill", "title": "Avg Kill", "value": null}
  ]
}
)");
}

}  // namespace
}  // namespace tallyhawk

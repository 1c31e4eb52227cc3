#include "report/json_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace tallyhawk {
namespace {

// Each byte as the code point of the same number, in UTF-8.
std::string Latin1ToUtf8(const std::string& bytes) {
  std::string utf8;
  for (unsigned char byte : bytes) {
    if (byte >= 0x80) utf8 += static_cast<char>(0xC0 | byte >> 6);
    utf8 += static_cast<char>(byte < 0x80 ? byte : 0x80 | (byte & 0x3F));
  }
  return utf8;
}

TEST(JsonStringTest, EscapesEveryByteThatCouldBreakTheFile) {
  const std::pair<std::string, std::string> cases[] = {
      {std::string("\0", 1), R"("\u0000")"},
      {"\x01\x1f", R"("\u0001\u001f")"},
      {"a\nb\r\t", R"("a\nb\r\t")"},
      {"\"\\/", R"("\"\\/")"},
      {"\x7f\x80\x9f", R"("\u007f\u0080\u009f")"},
      {"\xa0\xe9\xff", R"("\u00a0\u00e9\u00ff")"},
      {"</script><!--&", R"("\u003c/script\u003e\u003c!--\u0026")"},
      {"Ace 1", R"("Ace 1")"},
  };
  for (const auto& [bytes, json] : cases) EXPECT_EQ(JsonString(bytes), json);

  // A name of every byte, and every byte alone: printable ASCII that reads
  // back as the same code points.
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  for (size_t i = 0; i <= all.size(); ++i) {
    const std::string name = i < all.size() ? all.substr(i, 1) : all;
    const std::string json = JsonString(name);
    for (char c : json) ASSERT_TRUE(c >= 0x20 && c < 0x7f) << json;
    EXPECT_EQ(nlohmann::json::parse(json).get<std::string>(),
              Latin1ToUtf8(name));
  }
}

TEST(JsonNumberTest, WholeValuesAsIntegersOthersShortestAndNoInfinity) {
  EXPECT_EQ(JsonNumber(0), "0");
  EXPECT_EQ(JsonNumber(8589934590.0), "8589934590");
  EXPECT_EQ(JsonNumber(1000060), "1000060");
  EXPECT_EQ(JsonNumber(2.5), "2.5");
  EXPECT_EQ(JsonNumber(7.0 / 3), "2.3333333333333335");
  EXPECT_EQ(JsonNumber(1e20), "1e+20");
  EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "null");
  EXPECT_EQ(JsonNumber(std::nan("")), "null");
}

LocalTime Local(int year, int month, int day, int hour, int minute,
                int second) {
  LocalTime time;
  time.year = year;
  time.month = month - 1;
  time.day = day;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  return time;
}

TEST(IsoTimeTextTest, LocalTimeWithTheOffsetItHasFromUtc) {
  constexpr int64_t kNow = 1796558400;  // 2026-12-06 12:00:00 UTC
  const std::pair<JsonTime, std::string> cases[] = {
      {{kNow, Local(2026, 12, 6, 12, 0, 0)}, "2026-12-06T12:00:00+00:00"},
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
  const UsageSettings usage{.LastDays = -1,
                            .DoActivePlayers = false,
                            .DoAllPoints = false,
                            .DoAllFlagPoints = false,
                            .DoAllKillPoints = false,
                            .DoAllKills = false,
                            .DoAllPlayers = false,
                            .DoAllSquads = false};
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

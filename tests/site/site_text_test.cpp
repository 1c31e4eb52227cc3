#include "site/site_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tallyhawk {
namespace {

using Pair = std::pair<std::string, std::string>;

TEST(SiteTextTest, NamesBecomeUtf8WithControlsReplaced) {
  const Pair kCases[] = {
      {"Ace", "Ace"},
      {"\xe9\xff", "\xc3\xa9\xc3\xbf"},
      {"a\xa0z", "a\xc2\xa0z"},
      {"\x01\x7f\x80\x9f", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
      {"tab\tand\nline", "tab\tand\nline"},
      {"\r", "\xef\xbf\xbd"},
  };
  for (const auto& [latin1, utf8] : kCases) {
    EXPECT_EQ(Latin1ToUtf8(latin1), utf8) << latin1;
  }
}

TEST(SiteTextTest, SettingsKeepUtf8AndReadTheRestAsLatin1) {
  const Pair kCases[] = {
      {"Zone \xc3\xa9t\xc3\xa9", "Zone \xc3\xa9t\xc3\xa9"},  // UTF-8 already
      {"Caf\xe9", "Caf\xc3\xa9"},                            // Latin-1
      {"\xc3", "\xc3\x83"},                                  // cut sequence
      {"\xc0\xaf", "\xc3\x80\xc2\xaf"},                      // overlong
      {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xef\xbf\xbd"},      // surrogate
      {"\xf0\x9f\x8f\x81 \x02", "\xf0\x9f\x8f\x81 \xef\xbf\xbd"},
  };
  for (const auto& [text, utf8] : kCases) {
    EXPECT_EQ(SettingToUtf8(text), utf8) << text;
  }
}

TEST(SiteTextTest, LinksAreRelativeAndPercentEncoded) {
  EXPECT_EQ(BelowRoot("out/Arena 7/TotPts.html", "out/"),
            "Arena 7/TotPts.html");
  EXPECT_EQ(BelowRoot("out\\Arena\\PilotStats.html", "out\\"),
            "Arena/PilotStats.html");
  EXPECT_EQ(BelowRoot("elsewhere/x.html", "out/"), "");
  EXPECT_EQ(PageHref("Arena & <Co>/TotPts.html", 0),
            "Arena%20%26%20%3CCo%3E/TotPts.html");
  EXPECT_EQ(PageHref("Caf\xe9/x_y-z.~html", 1), "../Caf%E9/x_y-z.~html");
  EXPECT_EQ(FragmentHref("Total Points/x"), "Total%20Points%2Fx");
  const std::pair<std::string, int> kStyles[] = {
      {"s.css", 0},           {"s.css", 1},     {"/s.css", 1},
      {"https://x/s.css", 1}, {"C:\\s.css", 1}, {"\\\\host\\s.css", 1}};
  const std::string kHrefs[] = {"s.css",     "../s.css",
                                "/s.css",    "https://x/s.css",
                                "C:\\s.css", "\\\\host\\s.css"};
  for (size_t i = 0; i < std::size(kStyles); ++i) {
    EXPECT_EQ(StyleSheetHref(kStyles[i].first, kStyles[i].second), kHrefs[i]);
  }
}

// Only names the run gives its pages count as its own, so that nothing an
// admin put beside them is ever removed.
TEST(SiteTextTest, PageNamesAreExactlyTheRunsOwn) {
  EXPECT_EQ(PageFileName(0), "0.html");
  EXPECT_EQ(PageFileName(4294967295u), "4294967295.html");
  const std::pair<std::string, bool> kNames[] = {
      {"0.html", true},          {"17.html", true},
      {"4294967295.html", true}, {"4294967296.html", false},
      {"017.html", false},       {"+1.html", false},
      {"-1.html", false},        {"1.htm", false},
      {"1.html.tmp", false},     {".html", false},
      {"a1.html", false},        {"1.HTML", false},
      {"1 .html", false},
  };
  for (const auto& [name, ours] : kNames) {
    uint32_t id = 0;
    EXPECT_EQ(ParsePageFileName(name, &id), ours) << name;
    if (ours) {
      EXPECT_EQ(PageFileName(id), name);
    }
  }
}

}  // namespace
}  // namespace tallyhawk

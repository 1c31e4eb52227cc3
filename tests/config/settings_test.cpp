#include "config/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/fake_platform.h"
#include "support/platform_expectations.h"
#include "util/fatal_error.h"

namespace tallyhawk {
namespace {

Settings Parse(std::string_view text) {
  Settings settings;
  ParseSettings(text, settings);
  return settings;
}

TEST(ParseSettingsTest, SectionsKeysAndNumbers) {
  const std::string comment = "//" + std::string(125, 'c');
  const std::pair<std::string, uint32_t> kIniToTopX[] = {
      {"[General]\nTopX= 20", 20},
      {"[General]\nTopX=12abc", 12},
      {"[General]\nTopX=abc", 0},
      {"[General]\nTopX=-1", 4294967295u},  // numbers wrap modulo 2^32
      {"[General]\nTopX=4294967297", 1},
      {"[General]\nTopX=1\nTopX=2", 2},
      {"[General]\nTopX=1\nTopX\n/TopX=3", 1},
      {"[General]\nTopX = 20", 100},  // the key is all before the first '='
      {"[General]\ntopx=20", 100},
      {"[general]\nTopX=20", 100},  // headers must match exactly
      {"[General] \nTopX=20", 100},
      {"TopX=20\n[General]", 100},
      {"[User]\nTopX=20", 100},
      {"[Nope]\nTopX=20\n[General]\nTopX=7\n[Nope]\nTopX=8", 7},
      // A cut comment line: the rest of it is read as a line of its own.
      {"[General]\n" + comment + "TopX=7\n", 7},
  };
  for (const auto& [ini, top_x] : kIniToTopX) {
    EXPECT_EQ(Parse(ini).General.TopX, top_x) << ini;
  }
  EXPECT_EQ(Parse("[Usage]\nLastDays=-5").Usage.LastDays, -5);
  EXPECT_EQ(Parse("[Usage]\nLastDays=4294967295").Usage.LastDays, -1);
}

TEST(ParseSettingsTest, FlagsAndTexts) {
  // A flag is off only for a value that starts with '0'.
  Settings flags =
      Parse("[Output]\nText=\nHTML=false\nHTMLGroup= 0\nFooter=00");
  EXPECT_TRUE(flags.Output.Text && flags.Output.HTML && flags.Output.HTMLGroup);
  EXPECT_FALSE(flags.Output.Footer);
  // Keys shared by several sections set only the field of their own.
  Settings shared = Parse("[Squad]\nDoWins=0\n[Usage]\nDoAvgKill=0");
  EXPECT_FALSE(shared.Squad.DoWins || shared.Usage.DoAvgKill);
  EXPECT_TRUE(shared.User.DoWins && shared.Squad.DoAvgKill);
  EXPECT_EQ(Parse("[Output]\nStyleSheet=a=b").Output.StyleSheet, "a=b");
  EXPECT_EQ(Parse("[General]\n \tDatUser= my .dat ").General.DatUser,
            " my .dat ");
  EXPECT_EQ(Parse("[Output]\nDirectory=out // x").Output.Directory, "out // x");
  EXPECT_EQ(
      Parse("[Output]\nStyleSheet=" + std::string(200, 'v')).Output.StyleSheet,
      std::string(127 - 11, 'v'));
}

// The example settings file that is installed with the program: a comment
// placed after a value, or a misspelt key, would change a setting silently.
TEST(ParseSettingsTest, ExampleFileSwitchesOnEveryOutputAndKeepsTheDefaults) {
  std::ifstream file(std::string(TESTS_SOURCE_DIR) + "/../dist/tallyhawk.ini",
                     std::ios::binary);
  ASSERT_TRUE(file);
  std::ostringstream text;
  text << file.rdbuf();
  Settings expected;
  expected.Output.Text = true;
  expected.Output.HTML = true;
  expected.Output.StyleSheet = "tallyhawk.css";
  Settings example;
  std::vector<SettingsFinding> findings;
  ParseSettings(text.str(), example, &findings);
  EXPECT_EQ(SettingsTemplateText(example), SettingsTemplateText(expected));
  EXPECT_TRUE(example.Output.JSON);
  EXPECT_TRUE(example.Site.Enabled);
  EXPECT_EQ(example.Site.Title, expected.Site.Title);
  EXPECT_EQ(example.Site.Templates, expected.Site.Templates);
  EXPECT_TRUE(findings.empty()) << findings.front().text;
}

// "<line>: <text>" for each finding of `text`, those of the settings as a
// whole included.
std::vector<std::string> Findings(std::string_view text) {
  Settings settings;
  std::vector<SettingsFinding> findings;
  ParseSettings(text, settings, &findings);
  CheckSettings(settings, &findings);
  std::vector<std::string> lines;
  for (const SettingsFinding& finding : findings)
    lines.push_back(std::to_string(finding.line) + ": " + finding.text);
  return lines;
}

// Each kind of line that a run takes by the file's rules but an admin likely
// did not mean, with the line it is on and the value used.
TEST(ParseSettingsTest, FindingsNameTheLineAndTheValueUsed) {
  using Lines = std::vector<std::string>;
  const std::string number =
      " is not a plain decimal number from 0 to "
      "4294967295; ";
  const std::pair<std::string, Lines> kCases[] = {
      {"// x\n[General]\nTopX=20\n[Usage]\nLastDays=-5\n[Output]\nText=1\n"
       "StyleSheet=/s.css\nUseSubDir=1",
       {}},
      {"[General]\nTopX=abc", {"2: 'TopX=abc'" + number + "0 is used"}},
      {"[General]\r\n\r\nTopX=-5",
       {"3: 'TopX=-5'" + number + "4294967291 is used"}},
      {"[General]\nScoreID=4294967296",
       {"2: 'ScoreID=4294967296'" + number + "0 is used"}},
      {"[General]\nMinKills=12 ",
       {"2: 'MinKills=12 '" + number + "12 is used"}},
      {"[Usage]\nLastDays=2147483648",
       {"2: 'LastDays=2147483648' is not a plain decimal number from "
        "-2147483648 to 2147483647; -2147483648 is used"}},
      {"[Output]\nHTML=false\nText=00",
       {"2: 'HTML=false' is not 0 or 1; 1 is used",
        "3: 'Text=00' is not 0 or 1; 0 is used"}},
      {"[General]\nDatUser=user.dat \n[Output]\nDirectory=\tout",
       {"2: 'DatUser=user.dat ' begins or ends with white space, which is "
        "part of the name",
        "4: 'Directory=\\x09out' begins or ends with white space, which is "
        "part of the name"}},
      {"[General]\nTopXX=5\nTopX\n[Squad]\nDoMembers=1",
       {"2: unknown key 'TopXX' in [General], ignored",
        "3: 'TopX' has no '=', so it sets nothing"}},
      // Keys under an unknown section are ignored with it.
      {"TopX=5\n[output]\nText=1\n[User] \nDoWins=0",
       {"1: 'TopX=5' comes before the first section, ignored",
        "2: unknown section '[output]': the keys after it are ignored (the "
        "sections are [General], [User], [Squad], [Usage], [Output] and "
        "[Site])",
        "4: unknown section '[User] ': the keys after it are ignored (the "
        "sections are [General], [User], [Squad], [Usage], [Output] and "
        "[Site])"}},
      {"[Output]\nDirectory=" + std::string(120, 'd') + "/x.css",
       {"2: the line is longer than 127 characters: the rest is read as a "
        "line of its own",
        "2: 'ddd/x.css' has no '=', so it sets nothing"}},
      {"[Output]\nStyleSheet=s.css\nUseSubDir=1",
       {"0: StyleSheet 's.css' is relative, but with UseSubDir=1 the pages of "
        "each score ID sit one directory below Usage.html, so one of them "
        "misses it; give it from the web root, as /tallyhawk.css"}},
  };
  for (const auto& [text, lines] : kCases) EXPECT_EQ(Findings(text), lines);
  // An address with a scheme serves every page.
  EXPECT_EQ(Findings("[Output]\nStyleSheet=https://x/s.css\nUseSubDir=1"),
            Lines{});
}

// [Site] is a section of its own, read like the others, but the template
// that a run writes keeps the text it always had.
TEST(ParseSettingsTest, SiteSectionIsReadButStaysOutOfTheTemplate) {
  const Settings defaults;
  EXPECT_FALSE(defaults.Site.Enabled);
  EXPECT_EQ(defaults.Site.Title, "Zone statistics");
  EXPECT_EQ(defaults.Site.Templates, "");
  const Settings site =
      Parse("[Site]\nEnabled=1\nTitle=Red & Blue <Zone>\nTemplates=my/t");
  EXPECT_TRUE(site.Site.Enabled);
  EXPECT_EQ(site.Site.Title, "Red & Blue <Zone>");
  EXPECT_EQ(site.Site.Templates, "my/t");
  EXPECT_FALSE(Parse("[Site]\nEnabled=0").Site.Enabled);
  EXPECT_EQ(SettingsTemplateText(site), SettingsTemplateText(defaults));
  EXPECT_EQ(std::ranges::count(SettingsTemplateText(site), '\n'), 53);
  EXPECT_EQ(Findings("[Site]\nEnabled=1\nTitle=A b\nTemplates=\n"),
            std::vector<std::string>{});
  EXPECT_EQ(
      Findings("[Site]\nEnable=1"),
      std::vector<std::string>{"2: unknown key 'Enable' in [Site], ignored"});
}

TEST(NormalizeDirectoryTest, AppendsSeparatorOrReplacesLastCharacter) {
  const std::string d(126, 'd');
  std::vector<std::string> dirs = {"out/", "C:\\out", "", d + "d"};
  for (std::string& dir : dirs) NormalizeDirectory(dir);
  // '/' ends a directory on every platform.
  EXPECT_EQ(dirs,
            (std::vector<std::string>{"out/", testing::PlatformPath("C:\\out/"),
                                      "", testing::PlatformPath(d + "/")}));
}

// A template that cannot be written whole is not left behind, whichever of
// its file operations fails.
TEST(LoadSettingsTest, AFailedTemplateLeavesNothing) {
  testing::FakePlatform complete;
  complete.record_operations = true;
  StatusOutput quiet(complete, true, true);
  LoadSettings(complete, quiet, "tallyhawk.ini", true);
  ASSERT_TRUE(complete.files.count("tallyhawk.ini"));
  // The first operation is the read that finds no file.
  for (size_t i = 2; i <= complete.operations.size(); ++i) {
    testing::FakePlatform platform;
    platform.failing_operation = i;
    StatusOutput status(platform, true, true);
    std::string message;
    try {
      LoadSettings(platform, status, "tallyhawk.ini", true);
    } catch (const FatalError& error) {
      message = error.what();
    }
    EXPECT_EQ(message, "Unable to create INI template, exiting")
        << complete.operations[i - 1];
    EXPECT_TRUE(platform.files.empty());
    EXPECT_EQ(platform.open_temporaries, 0);
  }
}

}  // namespace
}  // namespace tallyhawk

#include "config/zone_dirs.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/fake_platform.h"
#include "support/platform_expectations.h"

namespace tallyhawk {
namespace {

TEST(FindZoneDirNameTest, FirstNumberedLineWithASeparatorWins) {
  // Map text, score ID, the name found or "-" when none is.
  const std::tuple<std::string, uint32_t, std::string> kCases[] = {
      {"17=Arena", 17, "Arena"},
      {"17=a:b", 17, "a:b"},
      {"17:a=b", 17, "a=b"},
      {"17:My Arena  ", 17, "My Arena  "},
      {"17:Arena\n17:Other", 17, "Arena"},
      {"//17:Comment\n17 Arena\n17:Arena", 17, "Arena"},
      {"18:Other", 17, "-"},
      {"17:", 17, ""},
      {"Arena:y", 0, "y"},
  };
  for (const auto& [map, score_id, expected] : kCases) {
    std::string name = "-";
    FindZoneDirName(map, score_id, &name);
    EXPECT_EQ(name, expected) << map;
  }
}

TEST(ZoneDirsTest, MapIsReadOnEveryLookup) {
  testing::FakePlatform platform;
  ZoneDirs zones{platform, "zoneinfo.txt", testing::PlatformPath("out/")};
  // The first lookup writes the template.
  EXPECT_EQ(ResolveScoreIdDir(zones, 17), testing::PlatformPath("out/17/"));
  EXPECT_EQ(ResolveScoreIdDir(zones, 1234),
            testing::PlatformPath("out/My Zone/"));
  platform.files["zoneinfo.txt"] = "17:Arena";
  EXPECT_EQ(ResolveScoreIdDir(zones, 17), testing::PlatformPath("out/Arena/"));
  platform.files["zoneinfo.txt"] = "17:" + std::string(200, 'a');
  zones.Directory = std::string(126, 'd') + "/";
  // The map line is cut after 127 characters, the joined path is not.
  EXPECT_EQ(ResolveScoreIdDir(zones, 17),
            zones.Directory + std::string(124, 'a') + testing::kSeparator);

  // An empty name is the working directory under an empty Directory, and
  // Directory itself under another one; neither is ever the root, and the
  // working directory is never created.
  platform.files["zoneinfo.txt"] = "17:";
  EXPECT_EQ(ResolveScoreIdDir(zones, 17),
            zones.Directory + testing::kSeparator);
  zones.Directory.clear();
  EXPECT_EQ(ResolveScoreIdDir(zones, 17), "");
  const size_t operations = platform.operation_count;
  CreateSubdirectory(platform, "");
  EXPECT_EQ(platform.operation_count, operations);
}

}  // namespace
}  // namespace tallyhawk

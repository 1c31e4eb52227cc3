#include "config/zone_dirs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

#include "run/fatal_error.h"
#include "run/run_context.h"
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

std::string Resolve(RunContext& context, uint32_t score_id) {
  context.CurrentScoreID = score_id;
  return ResolveScoreIdDir(context);
}

// The FatalError message of `action`, or "" when it returns.
std::string FatalMessage(const std::function<void()>& action) {
  try {
    action();
  } catch (const FatalError& error) {
    return error.what();
  }
  return "";
}

TEST(ZoneDirsTest, MapIsReadOnEveryLookupAndFailuresAreFatal) {
  testing::FakePlatform platform;
  RunContext context{platform, RunOptions{}};
  const std::string map = context.options.ZoneInfoFileName;
  context.settings.Output.Directory = testing::PlatformPath("out/");
  EXPECT_EQ(Resolve(context, 17),
            testing::PlatformPath("out/17/"));  // writes the template
  EXPECT_EQ(Resolve(context, 1234), testing::PlatformPath("out/My Zone/"));
  platform.files[map] = "17:Arena";
  EXPECT_EQ(Resolve(context, 17), testing::PlatformPath("out/Arena/"));
  platform.files[map] = "17:" + std::string(200, 'a');
  context.settings.Output.Directory = std::string(126, 'd') + "/";
  // The map line is cut after 127 characters, the joined path is not.
  EXPECT_EQ(Resolve(context, 17), context.settings.Output.Directory +
                                      std::string(124, 'a') +
                                      testing::kSeparator);

  for (auto* faults : {&platform.failing_writes, &platform.failing_commits}) {
    platform.files.erase(map);
    faults->insert(map);
    EXPECT_EQ(FatalMessage([&] { Resolve(context, 1); }),
              "Unable to create zone info template, exiting");
    faults->clear();
  }
  platform.directory_results["denied/"] = DirectoryResult::kOtherError;
  EXPECT_EQ(FatalMessage([&] { CreateSubdirectory(context, "denied/"); }),
            "Unspecified error creating subdirectory");
}

}  // namespace
}  // namespace tallyhawk

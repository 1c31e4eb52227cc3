// A whole run on the in-memory platform over any settings text, zone map and
// database bytes. Whatever they hold, the run ends with exit code 0 or 1,
// leaves no temporary file, never changes a database, and says how it ended,
// on the console and on standard error.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/settings.h"
#include "fuzz_input.h"
#include "run/run_driver.h"
#include "support/fake_platform.h"

using namespace tallyhawk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::SplitInput(data, size, 5);
  testing::FakePlatform platform;
  platform.files = {{"tallyhawk.ini", parts[0]},
                    {"zoneinfo.txt", parts[1]},
                    {"user.dat", parts[2]},
                    {"squad.dat", parts[3]},
                    {"score.dat", parts[4]}};
  // An empty zone map part stands for a missing map, whose template the run
  // then writes.
  if (parts[1].empty()) platform.files.erase("zoneinfo.txt");
  const auto inputs = platform.files;
  Settings settings;
  ParseSettings(parts[0], settings);

  const int exit_code = RunTallyhawk({}, platform);
  fuzz::Require(exit_code == 0 || exit_code == 1);
  fuzz::Require(platform.open_temporaries == 0);
  for (const std::string& database :
       {settings.General.DatUser, settings.General.DatSquad,
        settings.General.DatScore}) {
    auto before = inputs.find(database);
    auto after = platform.files.find(database);
    fuzz::Require(before == inputs.end() ? after == platform.files.end()
                                         : after != platform.files.end() &&
                                               after->second == before->second);
  }
  fuzz::Require(
      exit_code == 0
          ? platform.console.ends_with("Score extraction complete.\n\n")
          : platform.console.ends_with("(Logged to error file)\n") ||
                platform.console.ends_with("(Unable to write error file)\n"));
  // Standard error describes each fatal error once, and holds nothing but
  // whole diagnostic lines.
  size_t errors = 0;
  for (size_t start = 0; start < platform.errors.size();) {
    const size_t end = platform.errors.find('\n', start);
    fuzz::Require(end != std::string::npos);
    const std::string_view line(platform.errors.data() + start, end - start);
    fuzz::Require(line.starts_with("tallyhawk: warning: ") ||
                  line.starts_with("tallyhawk: error: "));
    errors += line.starts_with("tallyhawk: error: ");
    start = end + 1;
  }
  fuzz::Require(exit_code == 0 ? errors == 0 : errors >= 1);
  return 0;
}

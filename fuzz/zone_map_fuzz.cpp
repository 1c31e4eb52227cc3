// The zone map reader over any bytes: the score ID comes from the first four
// bytes, the map text is the rest, read under an empty Directory and under
// another one.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "config/zone_dirs.h"
#include "fuzz_input.h"
#include "support/fake_platform.h"

using namespace tallyhawk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t score_id = 0;
  if (size >= 4) {
    std::memcpy(&score_id, data, 4);
    data += 4;
    size -= 4;
  }
  const std::string map(reinterpret_cast<const char*>(data), size);
  testing::FakePlatform platform;
  platform.files["zoneinfo.txt"] = map;
  const std::string separator(1, PathSeparator());
  for (const char* directory : {"", "out/"}) {
    const std::string path =
        ResolveScoreIdDir({platform, "zoneinfo.txt", directory}, score_id);
    std::string name;
    const bool found = FindZoneDirName(map, score_id, &name);
    fuzz::Require(name.size() <= 127);
    // Never a lone separator: that would be the root directory.
    fuzz::Require(path != separator);
    fuzz::Require(path.empty()
                      ? found && name.empty() && !*directory
                      : path == directory +
                                    (found ? name : std::to_string(score_id)) +
                                    separator);
    CreateSubdirectory(platform, path);
  }
  return 0;
}

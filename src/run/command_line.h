// The command line: file-name switches and quietness.
#pragma once

#include <string>
#include <vector>

namespace tallyhawk {

struct RunOptions {
  bool quiet = false;
  bool veryquiet = false;
  std::string IniFileName = "tallyhawk.ini";
  std::string LogFileName = "tallyhawk.log";
  std::string ZoneInfoFileName = "zoneinfo.txt";
  bool mayCreateTemplate = true;
};

// `args` excludes the program name. Unknown switches and arguments without a
// "/" or "-" prefix are ignored without a message.
RunOptions ParseCommandLine(const std::vector<std::string>& args);

}  // namespace tallyhawk

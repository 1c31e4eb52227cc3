// The command line: file-name switches and quietness.
#pragma once

#include <cstddef>
#include <optional>
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
  // --check: read everything, write nothing, and tell what a run would meet.
  bool check = false;
  // What the command line holds that does nothing: unknown switches,
  // arguments that are no switch, file-name switches without a name.
  std::vector<std::string> warnings;
  // Threads that compute score IDs' lists ahead; unset, the zone and the
  // machine's cores decide. No switch sets it: tests use it to compare the
  // two ways.
  std::optional<size_t> workers;
  // Threads that write the site's pages; unset, the page count and the
  // machine's cores decide. No switch sets it either.
  std::optional<size_t> site_threads;
};

// `args` excludes the program name. Unknown switches and arguments without a
// "/" or "-" prefix are ignored; the options tell of them in `warnings`.
RunOptions ParseCommandLine(const std::vector<std::string>& args);

}  // namespace tallyhawk

#include "run/command_line.h"

#include "config/settings.h"
#include "util/diagnostic.h"

namespace tallyhawk {

namespace {

// Sets the file name of the switch `letter` ('F', 'L' or 'Z'); false for any
// other letter.
bool SetFileName(RunOptions& options, char letter, const std::string& name) {
  switch (letter) {
    case 'F':
      options.IniFileName = name;
      options.mayCreateTemplate = false;
      return true;
    case 'L':
      options.LogFileName = name;
      return true;
    case 'Z':
      options.ZoneInfoFileName = name;
      return true;
    default:
      return false;
  }
}

}  // namespace

RunOptions ParseCommandLine(const std::vector<std::string>& args) {
  RunOptions options;
  for (const std::string& arg : args) {
    if (arg.empty() || (arg[0] != '/' && arg[0] != '-')) {
      options.warnings.push_back("argument " + Quoted(arg) +
                                 " is no switch, ignored");
      continue;
    }
    const std::string switch_text = arg.substr(1);
    if (switch_text == "quiet") {
      options.quiet = true;
    } else if (switch_text == "veryquiet") {
      options.quiet = true;
      options.veryquiet = true;
    } else if (arg == "--check") {
      options.check = true;
    } else if (!switch_text.empty() &&
               SetFileName(options, switch_text[0],
                           switch_text.substr(1, kMaxSettingLength))) {
      if (switch_text.size() == 1) {
        options.warnings.push_back("switch " + Quoted(arg) +
                                   " gives no file name");
      }
    } else {
      options.warnings.push_back("unknown switch " + Quoted(arg) + ", ignored");
    }
  }
  return options;
}

}  // namespace tallyhawk

#include "run/command_line.h"

#include "config/settings.h"

namespace tallyhawk {

RunOptions ParseCommandLine(const std::vector<std::string>& args) {
  RunOptions options;
  for (const std::string& arg : args) {
    if (arg.empty() || (arg[0] != '/' && arg[0] != '-')) continue;
    const std::string switch_text = arg.substr(1);
    if (switch_text == "quiet") {
      options.quiet = true;
    } else if (switch_text == "veryquiet") {
      options.quiet = true;
      options.veryquiet = true;
    } else if (!switch_text.empty()) {
      std::string name = switch_text.substr(1, kMaxSettingLength);
      switch (switch_text[0]) {
        case 'F':
          options.IniFileName = name;
          options.mayCreateTemplate = false;
          break;
        case 'L':
          options.LogFileName = name;
          break;
        case 'Z':
          options.ZoneInfoFileName = name;
          break;
        default:
          break;
      }
    }
  }
  return options;
}

}  // namespace tallyhawk

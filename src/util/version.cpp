#include "util/version.h"

namespace tallyhawk {

std::string BuildDate() {
  // A reproducible build passes the date it was given; otherwise the
  // compiler's own date of this build.
#ifdef TALLYHAWK_BUILD_DATE
  std::string date = TALLYHAWK_BUILD_DATE;
#else
  std::string date = __DATE__;
#endif
  if (date.size() > 4 && date[4] == '0') date[4] = ' ';
  return date;
}

std::string VersionLine() {
  return "Tallyhawk v" + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + " Build " + BuildDate() + "\n";
}

}  // namespace tallyhawk

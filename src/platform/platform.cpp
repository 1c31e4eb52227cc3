#include "platform/platform.h"

namespace tallyhawk {

LocalTime LocalTimeFromTm(const struct tm& value) {
  LocalTime local;
  local.year = value.tm_year + 1900;
  local.month = value.tm_mon;
  local.day = value.tm_mday;
  local.weekday = value.tm_wday;
  local.hour = value.tm_hour;
  local.minute = value.tm_min;
  local.second = value.tm_sec;
  return local;
}

bool ReadWholeFile(Platform& platform, const std::string& path,
                   std::string* contents) {
  std::unique_ptr<InputFile> file = platform.OpenInput(path);
  if (!file) return false;
  contents->clear();
  char buffer[1 << 16];
  while (size_t n = file->Read(buffer, sizeof buffer))
    contents->append(buffer, n);
  return true;
}

}  // namespace tallyhawk

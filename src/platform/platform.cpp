#include "platform/platform.h"

namespace tallyhawk {

bool ReadWholeFile(Platform& platform, const std::string& path,
                   std::string* contents) {
  std::unique_ptr<InputFile> file = platform.OpenInput(path);
  if (!file) return false;
  contents->clear();
  char buffer[1 << 16];
  while (size_t n = file->Read(buffer, sizeof buffer)) contents->append(buffer, n);
  return true;
}

}  // namespace tallyhawk

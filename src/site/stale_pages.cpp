#include "site/stale_pages.h"

#include <algorithm>

#include "site/site_text.h"
#include "util/fatal_error.h"

namespace tallyhawk {

void RemoveStalePages(Platform& platform, const std::string& folder,
                      const std::vector<uint32_t>& ids, const char* failure) {
  std::vector<std::string> names;
  if (!platform.ListFiles(folder, &names)) {
    throw FileError(failure, folder, "cannot list the site's pages");
  }
  // In order, so that every run removes them alike.
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    uint32_t id = 0;
    if (!ParsePageFileName(name, &id) ||
        std::binary_search(ids.begin(), ids.end(), id)) {
      continue;
    }
    const std::string path = folder + name;
    if (!platform.RemoveFile(path)) {
      throw FileError(failure, path,
                      "cannot remove the page of one no longer listed");
    }
  }
}

}  // namespace tallyhawk

#include "util/fatal_error.h"

#include "platform/platform.h"

namespace tallyhawk {

FatalError FileError(const std::string& message, const std::string& file,
                     const std::string& what) {
  return FatalError(message, Diagnostic{file, 0, what, LastFailure()});
}

}  // namespace tallyhawk

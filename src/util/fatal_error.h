// The one way out of a failed run: raised anywhere, it unwinds to the run
// driver, which reports it, cleans up and ends the run with exit code 1.
#pragma once

#include <stdexcept>
#include <string>

namespace tallyhawk {

class FatalError : public std::runtime_error {
 public:
  explicit FatalError(const std::string& message)
      : std::runtime_error(message) {}
};

}  // namespace tallyhawk

// The one way out of a failed run: raised anywhere, it unwinds to the run
// driver, which reports it, cleans up and ends the run with exit code 1.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

#include "util/diagnostic.h"

namespace tallyhawk {

class FatalError : public std::runtime_error {
 public:
  // `message` is what the console, the log and the error file show;
  // `detail` what standard error adds: the file, and why.
  explicit FatalError(const std::string& message, Diagnostic detail = {})
      : std::runtime_error(message), detail_(std::move(detail)) {}

  const Diagnostic& detail() const { return detail_; }

 private:
  Diagnostic detail_;
};

// A FatalError with `message` about `file`, which failed at `what` ("cannot
// open the user database"), with the reason the platform noted last on this
// thread.
FatalError FileError(const std::string& message, const std::string& file,
                     const std::string& what);

}  // namespace tallyhawk

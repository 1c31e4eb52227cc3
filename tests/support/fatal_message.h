// The message of the FatalError that `action` raises; empty when it returns.
#pragma once

#include <string>

#include "util/fatal_error.h"

namespace tallyhawk::testing {

template <typename Action>
std::string FatalMessage(Action action) {
  try {
    action();
  } catch (const FatalError& error) {
    return error.what();
  }
  return "";
}

}  // namespace tallyhawk::testing

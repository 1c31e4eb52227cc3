// Catches the message that would end a run.
#pragma once

#include <string>

#include "util/fatal_error.h"

namespace tallyhawk::testing {

// The message of the FatalError that `action` raises; empty when it returns.
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

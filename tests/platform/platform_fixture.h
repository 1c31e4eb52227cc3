// This system's platform over a fresh directory.
#pragma once

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/e2e_harness.h"

namespace tallyhawk::testing {

class SystemPlatformTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) {
    return dir_.path() + "/" + relative;
  }
  size_t FileCount() { return dir_.Files().size(); }

  TempDir dir_;
  std::unique_ptr<Platform> platform_ = MakeSystemPlatform();
};

}  // namespace tallyhawk::testing

// The writers' scope on the in-memory platform.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "report/report_frame.h"
#include "support/fake_platform.h"
#include "support/fatal_message.h"

namespace tallyhawk {

class ReportTest : public ::testing::Test {
 protected:
  // The scope of score ID 12.
  ReportScope Scope() {
    return ReportScope{platform, status, settings, 12, ""};
  }
  // The bytes of a committed file; empty when there is none.
  std::string File(const std::string& path) { return platform.files[path]; }

  testing::FakePlatform platform;
  StatusOutput status{platform, false, false};
  Settings settings;
};

}  // namespace tallyhawk

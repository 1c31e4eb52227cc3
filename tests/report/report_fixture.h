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
  ReportTest() { settings.General.TopX = 10; }

  // The scope of score ID 12.
  ReportScope Scope() {
    return ReportScope{platform, status, settings, 12, ""};
  }

  std::string File(const std::string& path) {
    auto it = platform.files.find(path);
    return it == platform.files.end() ? "<missing>" : it->second;
  }

  testing::FakePlatform platform;
  StatusOutput status{platform, false, false};
  Settings settings;
};

}  // namespace tallyhawk

// A run context on the in-memory platform, with helpers to fill the top list
// and to catch the message that ends a run.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/fatal_error.h"
#include "run/run_context.h"
#include "support/fake_platform.h"

namespace tallyhawk {

class ReportTest : public ::testing::Test {
 protected:
  ReportTest() {
    context.CurrentScoreID = 12;
    context.settings.General.TopX = 10;
  }

  void SetList(std::vector<TopEntry> entries) {
    context.top_list.Assign(std::move(entries));
  }

  // The message of the FatalError that `write` raises; empty if none.
  template <typename Write>
  std::string FatalMessage(Write write) {
    try {
      write();
    } catch (const FatalError& error) {
      return error.what();
    }
    return "";
  }

  std::string File(const std::string& path) {
    auto it = platform.files.find(path);
    return it == platform.files.end() ? "<missing>" : it->second;
  }

  testing::FakePlatform platform;
  RunContext context{platform, RunOptions{}};
};

}  // namespace tallyhawk

#include <string>
#include <vector>

#include "platform/platform.h"
#include "run/run_driver.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::unique_ptr<tallyhawk::Platform> platform =
      tallyhawk::MakeSystemPlatform();
  return tallyhawk::RunTallyhawk(args, *platform);
}

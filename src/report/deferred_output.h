// A score ID's output made before its turn: its reports are written out in
// full under their temporary names, and what the console would show is
// kept. When the turn comes, Replay prints that text and renames the
// reports into place, in the order they came, so that the console, the log
// and the files come out as if the output were made then.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "report/report_file.h"
#include "util/status_output.h"

namespace tallyhawk {

class DeferredOutput : public Platform {
 public:
  explicit DeferredOutput(Platform& system) : system_(system) {}

  // Everything is the system's but the console, whose text is kept.
  std::unique_ptr<InputFile> OpenInput(const std::string& path) override {
    return system_.OpenInput(path);
  }
  std::unique_ptr<InputFile> OpenConfigInput(const std::string& path,
                                             bool* missing) override {
    return system_.OpenConfigInput(path, missing);
  }
  void ProtectInputs(const std::vector<std::string>& paths) override {
    system_.ProtectInputs(paths);
  }
  std::unique_ptr<HeldOutputFile> OpenOutput(const std::string& path) override {
    return system_.OpenOutput(path);
  }
  std::unique_ptr<OutputFile> CreateAtomicFile(
      const std::string& path) override {
    return system_.CreateAtomicFile(path);
  }
  DirectoryResult CreateDirectory(const std::string& path) override {
    return system_.CreateDirectory(path);
  }
  bool CanWriteFile(const std::string& path) override {
    return system_.CanWriteFile(path);
  }
  DirectoryProbe ProbeDirectory(const std::string& path) override {
    return system_.ProbeDirectory(path);
  }
  bool ListFiles(const std::string& path,
                 std::vector<std::string>* names) override {
    return system_.ListFiles(path, names);
  }
  bool RemoveFile(const std::string& path) override {
    return system_.RemoveFile(path);
  }
  void WriteConsole(std::string_view text) override;
  void WriteError(std::string_view text) override { system_.WriteError(text); }
  std::string WorkingDirectory() override { return system_.WorkingDirectory(); }
  int64_t Now() override { return system_.Now(); }
  LocalTime ToLocalTime(int64_t seconds) override {
    return system_.ToLocalTime(seconds);
  }

  // Writes out `report` (a failure ends the run, as writing it would) and
  // keeps it to be renamed in its turn.
  void Keep(std::unique_ptr<ReportFile> report);

  // Prints the kept text with `status` and commits the kept reports, in the
  // order they came. A report that cannot be committed ends the run with its
  // own message; those after it are dropped, their temporaries removed.
  void Replay(StatusOutput& status);

 private:
  // Text printed, then a report committed (when there is one).
  struct Step {
    std::string text;
    std::unique_ptr<ReportFile> report;
  };

  Platform& system_;
  std::vector<Step> steps_;
};

}  // namespace tallyhawk
